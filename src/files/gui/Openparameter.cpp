#include "files/gui/Openparameter.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "files/gui/FileTexts.h"

namespace {

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

TOpenParametersForm::TOpenParametersForm(uint8_t uiLanguage, QWidget* parent)
    : QDialog(parent),
      SaveDateLabel(named(new QLabel(this), "SaveDateLabel")),
      SaveDate(named(new QLineEdit(this), "SaveDate")),
      Label2(named(new QLabel(this), "Label2")),
      TextEdit(named(new QPlainTextEdit(this), "TextEdit")),
      Label1(named(new QLabel(this), "Label1")),
      OKButton(named(new QPushButton(this), "OKButton")),
      CancelButton(named(new QPushButton(this), "CancelButton")) {
    setObjectName(QStringLiteral("OpenParametersForm"));
    const auto text = [uiLanguage](const TextPair& pair) {
        return pick(uiLanguage, pair).value_or(QString());
    };
    setWindowTitle(text(filetexts::openCaption()));
    SaveDateLabel->setText(text(filetexts::openSaveDate()));
    Label2->setText(text(filetexts::openInformation()));
    Label1->setText(text(filetexts::openQuestion()));
    OKButton->setText(text(filetexts::openYes()));
    CancelButton->setText(text(filetexts::openNo()));
    SaveDate->setReadOnly(true);
    TextEdit->setReadOnly(true);

    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(SaveDateLabel);
    dateRow->addWidget(SaveDate);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(dateRow);
    layout->addWidget(Label2);
    layout->addWidget(TextEdit);
    layout->addWidget(Label1);
    layout->addLayout(buttons);

    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TOpenParametersForm::ShowFile(const QString& date, const QString& headerText) {
    SaveDate->setText(date);
    QString lines = headerText;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    TextEdit->setPlainText(lines);
}
