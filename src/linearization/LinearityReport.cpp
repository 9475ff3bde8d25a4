#include "linearization/LinearityReport.h"

#include "comm/ViewRules.h"
#include "linearization/ChartTexts.h"

namespace linearization {

namespace {

std::string label(ChartText id, uint8_t language) {
    return TextOf(ChartTextRow(id), language);
}

}  // namespace

std::string LengthFieldText(uint32_t lengthMm) {
    return std::to_string(lengthMm) + " mm";
}

std::string ResolutionFieldText(const std::string& resolution) {
    return resolution + " µm";
}

ChartFields ChartFieldsOf(const ParameterSet& set) {
    return {rules::SensorTypeLine(set),
            LengthFieldText(static_cast<uint32_t>(set[ParameterSet::Length].Value)),
            ResolutionFieldText(rules::ResolutionFieldText(set).value_or("")),
            rules::UltrasonicSpeedLine(set),
            set[ParameterSet::FactoryNumber].Reply,
            rules::FirmwareLine(set)};
}

ChartFields ChartLabels(uint8_t language) {
    return {
        label(ChartText::ModelLabel, language),        label(ChartText::LengthLabel, language),
        label(ChartText::ResolutionLabel, language),   label(ChartText::GradientLabel, language),
        label(ChartText::SerialNumberLabel, language), label(ChartText::FirmwareLabel, language)};
}

std::vector<std::pair<std::string, std::string>> LinearityReportParameters(
    const ChartFields& values, const ChartFields& labels, const std::string& pictureUrl) {
    return {
        {"Model", values.model},
        {"Length", values.length},
        {"Resolution", values.resolution},
        {"Gradient", values.gradient},
        {"FactoryNumber", values.factoryNumber},
        {"FirmwareVersion", values.firmware},
        {"ModelLabel", labels.model},
        {"LengthLabel", labels.length},
        {"ResolutionLabel", labels.resolution},
        {"GradientLabel", labels.gradient},
        {"FactoryNumberLabel", labels.factoryNumber},
        {"FirmwareVersionLabel", labels.firmware},
        {ChartPictureParameter, pictureUrl},
    };
}

}  // namespace linearization
