#pragma once

#include <QDialog>
#include <cstdint>

class QLabel;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// What the confirmation shows of a sensor, as the sensor information box names it.
struct SensorSummary {
    QString model;   // "Q-Series SSI (QH)"
    QString length;  // "500mm"
};

// Shows the date and the header text of a parameter file, the model and length
// it gives the sensor beside the sensor's own, and asks whether to load it.
class TOpenParametersForm : public QDialog {
    Q_OBJECT

public:
    explicit TOpenParametersForm(uint8_t uiLanguage, QWidget* parent = nullptr);

    QLabel* SaveDateLabel;
    QLineEdit* SaveDate;
    QLabel* Label2;
    QPlainTextEdit* TextEdit;
    QLabel* FileColumnLabel;
    QLabel* SensorColumnLabel;
    QLabel* ModelLabel;
    QLineEdit* FileModel;
    QLineEdit* SensorModel;
    QLabel* LengthLabel;
    QLineEdit* FileLength;
    QLineEdit* SensorLength;
    QLabel* Label1;
    QPushButton* OKButton;
    QPushButton* CancelButton;

    void ShowFile(const QString& date, const QString& headerText);
    void ShowSensors(const SensorSummary& file, const SensorSummary& sensor);

private:
    QLayout* comparisonGrid();
};
