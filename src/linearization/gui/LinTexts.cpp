#include "linearization/gui/LinTexts.h"

#include <array>

namespace lintexts {

namespace {

using Row = MessageRow<Id>;

// clang-format off
constexpr Row kRows[] = {
    {Id::BadAddress,
     "Valid adress: 200 ... 500!", "Input error",
     "Adressbereich 200 ... 500!", "Eingabefehler"},
    {Id::NotAnInteger,
     "Input is not a valid integer value!", "Input error",
     "Eingabe ist kein Integerwert!", "Eingabefehler"},
    {Id::ReadFailed,
     "Operation failed!", "Read error",
     "Lesen fehlgeschlagen!", "Lesefehler"},
    {Id::WriteFailed,
     "Operation failed!", "Write error",
     "Schreiben fehlgeschlagen!", "Schreibefehler"},
    {Id::BadStartValue,
     "Please enter a valid start value (integer in µm)", "Bad Parameter",
     "Bitte geben Sie einen gültigen Startwert ein (ganze Zahl in µm)", "Falscher Parameter"},
    {Id::NoSensorFound,
     "Kein Sensor gefunden!", "FEHLER",
     "Kein Sensor gefunden!", "FEHLER"},
    {Id::TableReadFailed,
     "Read linearity data's failed!", "ERROR",
     "Daten lesen fehlgeschlagen!", "FEHLER"},
    {Id::OverwriteQuestion,
     "File already exists. Overwrite?", "Save file",
     "Datei existiert bereits. Überschreiben?", "Datei speichern"},
    {Id::ExportWritten,
     "Operation succesfull!\nFile: ", "Write file",
     "Daten schreiben erfolgreich!\n\nDatei: ", "Datei schreiben"},
    {Id::ExportNotWritten,
     "The file could not be written:\n", "File error",
     "Die Datei konnte nicht geschrieben werden:\n", "Dateifehler"},
};

using ChartRow = TextRow<Chart>;

constexpr ChartRow kChartRows[] = {
    {Chart::Caption, "Linearity", "Linearity"},
    {Chart::Title, "Linearity chart", "Linearitätsdiagramm"},
    {Chart::ModelLabel, "Model:", "Modell:"},
    {Chart::LengthLabel, "Length:", "Länge:"},
    {Chart::ResolutionLabel, "Resolution:", "Auflösung:"},
    {Chart::GradientLabel, "Ultrasonic speed:", "Ultraschallgeschw.:"},
    {Chart::SerialNumberLabel, "Serial Number:", "Seriennummer:"},
    {Chart::FirmwareLabel, "Firmware Version:", "Firmware Version:"},
    {Chart::LeftAxis, "non-linearity [µm]", "Nichtlinearität [µm]"},
    {Chart::BottomAxis, "measurement length [mm]", "Messlänge [mm]"},
    {Chart::Print, "Print", "Print"},
    {Chart::Close, "Close", "Close"},
};
// clang-format on

static_assert(RowsFollowIds(kRows, Id::Count), "one row per message, in the order of the ids");
static_assert(RowsFollowIds(kChartRows, Chart::Count), "one row per text, in id order");

}  // namespace

const MessagePair& message(Id id) {
    static const auto messages = BuildMessages(kRows);
    return messages[static_cast<size_t>(id)];
}

const TextPair& chartText(Chart id) {
    static const auto texts = BuildTexts(kChartRows);
    return texts[static_cast<size_t>(id)];
}

}  // namespace lintexts
