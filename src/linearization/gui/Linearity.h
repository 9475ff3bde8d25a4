#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "linearization/LinChart.h"
#include "linearization/LinearityReport.h"
#include "linearization/gui/LinTexts.h"
#include "report/Report.h"

class Dialogs;
class LabeledEdit;
class QPushButton;
class QChart;
class QLineSeries;
class QValueAxis;

namespace linearization {

// What the chart window shows of the main window's sensor information.
struct SensorFields {
    QString model;
    QString resolution;
    QString gradient;
    QString factoryNumber;
    QString firmware;
};

struct LinearityContent {
    ChartData data;
    uint32_t lengthMm = 0;
    SensorFields fields;
    uint8_t language = 0;
};

// Where the window sends its report to be printed.
using ReportSink = std::function<void(const report::ReportRequest&)>;

// The linearity chart window: the non-linearity curve inside its tolerance
// band, and the sensor's data beside it. It is released when it is closed.
class TLinearityForm : public QWidget {
    Q_OBJECT

public:
    TLinearityForm(QWidget& owner, const LinearityContent& content, Dialogs& dialogs,
                   ReportSink print);

    QChart* Chart1 = nullptr;
    QLineSeries* Series1 = nullptr;
    QLineSeries* Series2 = nullptr;
    QLineSeries* Series3 = nullptr;
    QLineSeries* ZeroLine = nullptr;
    QValueAxis* LeftAxis = nullptr;
    QValueAxis* BottomAxis = nullptr;
    LabeledEdit* SensorType = nullptr;
    LabeledEdit* SensorLength = nullptr;
    LabeledEdit* SensorResolution = nullptr;
    LabeledEdit* SensorGradient = nullptr;
    LabeledEdit* SensorFN = nullptr;
    LabeledEdit* SensorSW = nullptr;
    QPushButton* Print = nullptr;
    QPushButton* CloseLin = nullptr;

    // Saves the chart's picture in the user's data folder, hides the window and
    // prints the linearity report with the picture and the fields.
    void PrintClick();
    void CloseLinClick();

private:
    void buildChart(const LinearityContent& content);
    void addSeries(const LinearityContent& content);
    void buildAxes(const LinearityContent& content);
    QWidget* buildFields(const LinearityContent& content);
    LabeledEdit* addField(QWidget& box, const char* name, const QString& label,
                          const QString& value);
    QString text(lintexts::Chart id) const;
    ChartFields shownFields() const;
    ChartFields shownLabels() const;

    uint8_t language_;
    ChartData data_;
    uint32_t lengthMm_;
    Dialogs& dialogs_;
    ReportSink print_;
};

}  // namespace linearization
