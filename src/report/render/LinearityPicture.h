#pragma once

#include <QImage>
#include <QString>
#include <cstdint>

#include "OutputFile.h"
#include "linearization/LinChart.h"
#include "linearization/LinearityReport.h"
#include "report/Report.h"

// The picture of the linearity chart that the linearity report shows: the
// non-linearity curve inside its tolerance band, drawn without widgets, and the
// report that shows it.
namespace report {

struct LinearityChart {
    const linearization::ChartData& data;
    uint32_t lengthMm = 0;
    uint8_t language = 0;
};

QImage DrawLinearityChart(const LinearityChart& chart);

// The linearity report with its chart: the chart's picture saved in the user's
// own data folder, never in the installation, and the report's parameters
// naming it. The request is complete only when the picture was saved.
struct PreparedLinearityReport {
    QString picturePath;
    FileOutcome picture;
    ReportRequest request;
};

PreparedLinearityReport PrepareLinearityReport(const LinearityChart& chart,
                                               const linearization::ChartFields& values,
                                               const linearization::ChartFields& labels);

}  // namespace report
