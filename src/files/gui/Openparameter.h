#pragma once

#include <QDialog>
#include <cstdint>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Shows the date and the header text of a parameter file and asks whether to load it.
class TOpenParametersForm : public QDialog {
    Q_OBJECT

public:
    explicit TOpenParametersForm(uint8_t uiLanguage, QWidget* parent = nullptr);

    QLabel* SaveDateLabel;
    QLineEdit* SaveDate;
    QLabel* Label2;
    QPlainTextEdit* TextEdit;
    QLabel* Label1;
    QPushButton* OKButton;
    QPushButton* CancelButton;

    void ShowFile(const QString& date, const QString& headerText);
};
