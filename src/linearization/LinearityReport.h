#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "comm/ParameterSet.h"

// What the linearity chart window shows beside the chart, and the parameters
// that its report receives.
namespace linearization {

// The six fields of the chart window, or their labels (UTF-8).
struct ChartFields {
    std::string model;
    std::string length;
    std::string resolution;
    std::string gradient;
    std::string factoryNumber;
    std::string firmware;
};

// The length field: "1000 mm".
std::string LengthFieldText(uint32_t lengthMm);
// The resolution field: the main window's resolution + " µm".
std::string ResolutionFieldText(const std::string& resolution);

// The fields for a register set, from what the main window's sensor
// information and resolution field show of it.
ChartFields ChartFieldsOf(const ParameterSet& set);
// The labels of the fields in the language (0 English, 1 German).
ChartFields ChartLabels(uint8_t language);

// The parameter whose value locates the chart's picture (a URL).
inline constexpr char ChartPictureParameter[] = "Chart";

// The twelve named texts of the linearity report in the order they are set,
// then the picture's location.
std::vector<std::pair<std::string, std::string>> LinearityReportParameters(
    const ChartFields& values, const ChartFields& labels, const std::string& pictureUrl);

}  // namespace linearization
