#include "report/gui/ReportDestination.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "report/ReportTexts.h"
#include "ui/Texts.h"

namespace report {

namespace {

QString text(Text id, uint8_t language) {
    return pick(language, PairOf(Row(id))).value_or(QString());
}

}  // namespace

ReportDestination::ReportDestination(QWidget* parent, uint8_t language) : QDialog(parent) {
    setObjectName(QStringLiteral("ReportDestination"));
    setWindowTitle(text(Text::DestinationCaption, language));
    auto* buttons = new QHBoxLayout;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(text(Text::DestinationQuestion, language), this));
    layout->addLayout(buttons);
    for (QPushButton* button :
         {ToPrinter = addButton("ToPrinter", text(Text::ToPrinter, language), Printer),
         ToPreview = addButton("ToPreview", text(Text::ToPreview, language), Preview),
         ToPdf = addButton("ToPdf", text(Text::ToPdf, language), PdfFile)})
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
