#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>

#include "linearization/LinChart.h"
#include "linearization/gui/LinTexts.h"

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

// The linearity chart window: the non-linearity curve inside its tolerance
// band, and the sensor's data beside it. It is released when it is closed.
class TLinearityForm : public QWidget {
    Q_OBJECT

public:
    TLinearityForm(QWidget& owner, const LinearityContent& content);

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

    void CloseLinClick();

private:
    void buildChart(const LinearityContent& content);
    void addSeries(const LinearityContent& content);
    void buildAxes(const LinearityContent& content);
    QWidget* buildFields(const LinearityContent& content);
    LabeledEdit* addField(QWidget& box, const char* name, const QString& label,
                          const QString& value);
    QString text(lintexts::Chart id) const;

    uint8_t language_;
};

}  // namespace linearization
