#pragma once

#include <QImage>
#include <QString>
#include <cstdint>

#include "OutputFile.h"
#include "linearization/LinChart.h"

// The picture of the linearity chart that the linearity report shows: the
// non-linearity curve inside its tolerance band, drawn without widgets.
namespace report {

struct LinearityChart {
    const linearization::ChartData& data;
    uint32_t lengthMm = 0;
    uint8_t language = 0;
};

QImage DrawLinearityChart(const LinearityChart& chart);

// The picture's file in the user's own data folder, never in the installation.
QString LinearityPicturePath();

// Writes the picture as PNG; a failure leaves any existing file as it was.
// Creates the folder when it is missing.
FileOutcome SaveLinearityPicture(const QImage& picture, const QString& path);

// The location of a picture file as a report template takes it.
std::string PictureUrl(const QString& path);

}  // namespace report
