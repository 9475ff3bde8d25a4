#include "testmode/gui/TestTexts.h"

#include <array>

namespace testtexts {

namespace {

struct Row {
    Id id;
    const char* english;
    const char* german;
};

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

static_assert(std::size(kRows) == size_t(Id::Count));

std::array<TextPair, size_t(Id::Count)> buildTexts() {
    std::array<TextPair, size_t(Id::Count)> texts;
    for (const Row& row : kRows) {
        texts[size_t(row.id)] = {QString::fromUtf8(row.english), QString::fromUtf8(row.german)};
    }
    return texts;
}

}  // namespace

const TextPair& text(Id id) {
    static const std::array<TextPair, size_t(Id::Count)> texts = buildTexts();
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
