#include "report/gui/ReportDestination.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "report/ReportTexts.h"
#include "ui/Texts.h"

namespace report {

ReportDestination::ReportDestination(QWidget* parent, uint8_t language) : QDialog(parent) {
    setObjectName(QStringLiteral("ReportDestination"));
    setWindowTitle(TextIn(language, Row(Text::DestinationCaption)));
    auto* buttons = new QHBoxLayout;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(TextIn(language, Row(Text::DestinationQuestion)), this));
    layout->addLayout(buttons);
    for (QPushButton* button :
         {ToPrinter = addButton("ToPrinter", TextIn(language, Row(Text::ToPrinter)), Printer),
         ToPreview = addButton("ToPreview", TextIn(language, Row(Text::ToPreview)), Preview),
         ToPdf = addButton("ToPdf", TextIn(language, Row(Text::ToPdf)), PdfFile)})
        buttons->addWidget(button);
    const TextPair& cancel = messages::buttonText(messages::Button::Cancel);
    Cancel = addButton("Cancel", pick(language, cancel).value_or(cancel.en), Cancelled);
    buttons->addWidget(Cancel);
    ToPdf->setDefault(true);
}

QPushButton* ReportDestination::addButton(const char* name, const QString& caption, int result) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
    return button;
}

}  // namespace report
