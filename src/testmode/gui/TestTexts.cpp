#include "testmode/gui/TestTexts.h"

#include <array>

namespace testtexts {

namespace {

using Row = TextRow<Id>;

// clang-format off
constexpr Row kRows[] = {
    {Id::Caption, "Sensor Test", "Sensor Test"},
    {Id::ValueLabel, "Measured Value:", "Messwert:"},
    {Id::TemperatureLabel, "Temperature: ", "Temperatur: "},
    {Id::Quit, "Quit", "Beenden"},
    {Id::ChartTitle, "SSI Test", "SSI Test"},
    {Id::AxisHalfMicrometres, "Measured Value in 0.5µm", "Messwert in 0.5µm"},
    {Id::AxisMicrometres, "Measured Value in µm", "Messwert in µm"},
};
// clang-format on

static_assert(RowsFollowIds(kRows, Id::Count), "one row per text, in the order of the ids");

}  // namespace

const TextPair& text(Id id) {
    static const auto texts = BuildTexts(kRows);
    return texts.at(size_t(id));
}

const MessagePair& disconnectWarning() {
    static const MessagePair warning{
        {QStringLiteral("Please do not disconnect the sensor in test mode."),
         QStringLiteral("Bitte entfernen Sie den Sensor nicht, während er sich im Testmodus "
                        "befindet.")},
        {QStringLiteral("WARNING"), QStringLiteral("WARNUNG")}};
    return warning;
}

}  // namespace testtexts
