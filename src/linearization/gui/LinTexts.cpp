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
    {Id::ExportWritten,
     "Operation succesfull!\nFile: ", "Write file",
     "Daten schreiben erfolgreich!\n\nDatei: ", "Datei schreiben"},
    {Id::ExportNotWritten,
     "The file could not be written:\n", "File error",
     "Die Datei konnte nicht geschrieben werden:\n", "Dateifehler"},
};
// clang-format on

static_assert(RowsFollowIds(kRows, Id::Count), "one row per message, in the order of the ids");

}  // namespace

const MessagePair& message(Id id) {
    static const auto messages = BuildMessages(kRows);
    return messages[static_cast<size_t>(id)];
}

TextPair chartText(Chart id) {
    return PairOf(linearization::ChartTextRow(id));
}

}  // namespace lintexts
