#include "linearization/ChartTexts.h"

#include <cstddef>

namespace linearization {

namespace {

using Row = TextRow<ChartText>;

// clang-format off
constexpr Row kRows[] = {
    {ChartText::Caption, "Linearity", "Linearity"},
    {ChartText::Title, "Linearity chart", "Linearitätsdiagramm"},
    {ChartText::ModelLabel, "Model:", "Modell:"},
    {ChartText::LengthLabel, "Length:", "Länge:"},
    {ChartText::ResolutionLabel, "Resolution:", "Auflösung:"},
    {ChartText::GradientLabel, "Ultrasonic speed:", "Ultraschallgeschw.:"},
    {ChartText::SerialNumberLabel, "Serial Number:", "Seriennummer:"},
    {ChartText::FirmwareLabel, "Firmware Version:", "Firmware Version:"},
    {ChartText::LeftAxis, "non-linearity [µm]", "Nichtlinearität [µm]"},
    {ChartText::BottomAxis, "measurement length [mm]", "Messlänge [mm]"},
    {ChartText::Print, "Print", "Print"},
    {ChartText::Close, "Close", "Close"},
};
// clang-format on

static_assert(RowsFollowIds(kRows, ChartText::Count), "one row per text, in id order");

}  // namespace

const TextRow<ChartText>& ChartTextRow(ChartText id) {
    return kRows[static_cast<size_t>(id)];
}

}  // namespace linearization
