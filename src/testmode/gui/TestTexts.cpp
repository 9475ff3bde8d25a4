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
    {Id::Statistics, "Statistics", "Statistik"},
    {Id::Histogram, "Histogram", "Histogramm"},
    {Id::Pause, "Pause", "Anhalten"},
    {Id::Resume, "Resume", "Weiter"},
    {Id::Record, "Record...", "Aufzeichnen..."},
    {Id::StopRecording, "Stop", "Stopp"},
    {Id::SaveChart, "Save Chart...", "Diagramm speichern..."},
    {Id::Reset, "Reset", "Zurücksetzen"},
    {Id::WindowColumn, "Last %1", "Letzte %1"},
    {Id::SinceStartColumn, "Since start", "Seit Start"},
    {Id::Mean, "Mean (µm)", "Mittelwert (µm)"},
    {Id::Deviation, "Std. deviation (µm)", "Standardabweichung (µm)"},
    {Id::PeakToPeak, "Peak-to-peak (µm)", "Spitze-Spitze (µm)"},
    {Id::Minimum, "Minimum (mm)", "Minimum (mm)"},
    {Id::Maximum, "Maximum (mm)", "Maximum (mm)"},
    {Id::SampleRate, "Samples/s", "Messwerte/s"},
    {Id::ErrorValues, "Error values", "Fehlerwerte"},
    {Id::Undecoded, "Undecoded blocks", "Unlesbare Blöcke"},
    {Id::WireRate, "of %1/s on the line", "von %1/s auf der Leitung"},
    {Id::Recording, "Recording: %1 samples", "Aufzeichnung: %1 Messwerte"},
    {Id::HistogramTitle, "Deviation from the mean (µm)", "Abweichung vom Mittelwert (µm)"},
    {Id::RecordCaption, "Record samples", "Messwerte aufzeichnen"},
    {Id::CsvFilter, "CSV files (*.csv)", "CSV-Dateien (*.csv)"},
    {Id::SaveChartCaption, "Save chart", "Diagramm speichern"},
    {Id::ImageFilter, "PNG image (*.png);;SVG image (*.svg)", "PNG-Bild (*.png);;SVG-Bild (*.svg)"},
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

MessagePair recordingStopped(const QString& path, const QString& reason) {
    return {{QStringLiteral("The recording to %1 stopped: %2. The sensor test goes on.")
                 .arg(path, reason),
             QStringLiteral("Die Aufzeichnung nach %1 wurde beendet: %2. Der Sensortest läuft "
                            "weiter.")
                 .arg(path, reason)},
            {QStringLiteral("Recording"), QStringLiteral("Aufzeichnung")}};
}

MessagePair chartNotSaved(const QString& path) {
    return {{QStringLiteral("The chart could not be saved as %1.").arg(path),
             QStringLiteral("Das Diagramm konnte nicht als %1 gespeichert werden.").arg(path)},
            {text(Id::SaveChartCaption)}};
}

}  // namespace testtexts
