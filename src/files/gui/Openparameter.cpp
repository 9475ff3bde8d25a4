#include "files/gui/Openparameter.h"

#include <QGridLayout>
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
      FileColumnLabel(named(new QLabel(this), "FileColumnLabel")),
      SensorColumnLabel(named(new QLabel(this), "SensorColumnLabel")),
      ModelLabel(named(new QLabel(this), "ModelLabel")),
      FileModel(named(new QLineEdit(this), "FileModel")),
      SensorModel(named(new QLineEdit(this), "SensorModel")),
      LengthLabel(named(new QLabel(this), "LengthLabel")),
      FileLength(named(new QLineEdit(this), "FileLength")),
      SensorLength(named(new QLineEdit(this), "SensorLength")),
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
    FileColumnLabel->setText(text(filetexts::openFileColumn()));
    SensorColumnLabel->setText(text(filetexts::openSensorColumn()));
    ModelLabel->setText(text(filetexts::openModel()));
    LengthLabel->setText(text(filetexts::openLength()));
    Label1->setText(text(filetexts::openQuestion()));
    OKButton->setText(text(filetexts::openYes()));
    CancelButton->setText(text(filetexts::openNo()));
    SaveDate->setReadOnly(true);
    TextEdit->setReadOnly(true);
    for (QLineEdit* field : {FileModel, SensorModel, FileLength, SensorLength})
        field->setReadOnly(true);

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
    layout->addLayout(comparisonGrid());
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

void TOpenParametersForm::ShowSensors(const SensorSummary& file, const SensorSummary& sensor) {
    FileModel->setText(file.model);
    FileLength->setText(file.length);
    SensorModel->setText(sensor.model);
    SensorLength->setText(sensor.length);
}

QLayout* TOpenParametersForm::comparisonGrid() {
    auto* grid = new QGridLayout;
    grid->addWidget(FileColumnLabel, 0, 1);
    grid->addWidget(SensorColumnLabel, 0, 2);
    grid->addWidget(ModelLabel, 1, 0);
    grid->addWidget(FileModel, 1, 1);
    grid->addWidget(SensorModel, 1, 2);
    grid->addWidget(LengthLabel, 2, 0);
    grid->addWidget(FileLength, 2, 1);
    grid->addWidget(SensorLength, 2, 2);
    return grid;
}
