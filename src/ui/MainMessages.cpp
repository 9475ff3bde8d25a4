#include "ui/MainMessages.h"

#include <array>

namespace mainmessages {

namespace {

struct Row {
    Id id;
    const char* english;
    const char* englishCaption;
    const char* german;
    const char* germanCaption;
};

// clang-format off
constexpr Row kRows[] = {
    {Id::BitWidthCorrected,
     "Number of data bits will be automatically\ncorrected to 24 because temperature bit is set",
     "Info",
     "Die Anzahl der Datenbits wird automatisch\nauf 24 korrigiert, da das Temperaturbit gesetzt ist",
     "Info"},
    {Id::FilterCorrected,
     "Filter settings will be\ncorrected to 0 automatically,\nbecause velocity mode is activ",
     "Info",
     "Die Filtereinstellung wird\nautomatisch zu 0 korrigiert, da der\nGeschwindigkeitsmodus aktiv ist",
     "Info"},
    {Id::CommitQuestion,
     "The changed parameters haven't been saved. Should they be saved now?", "EEPROM update",
     "Die geänderten Daten wurden nicht gespeichert. Speichern?", "EEPROM update"},
    {Id::KSeriesNotAvailable,
     "At K Series not available!", "Error",
     "Bei K Serie SSI nicht verfügbar!", "Fehler"},
    {Id::KSeriesSsiNotAvailable,
     "At K Series SSI not available!", "Error",
     "Bei K Serie SSI nicht verfügbar!", "Fehler"},
    {Id::BadBitWidth,
     "Please enter a valid bit width (1..32)", "Parameter out of range",
     "Bitte geben Sie eine gültige Bitbreite ein (1..32)", "Parameter out of range"},
    {Id::BadUartCounter,
     "Please enter a valid UART counter value (1..255)", "Bad Parameter",
     "Bitte geben Sie einen gültigen UART-Zähler Wert ein (1..255)", "Falscher Parameter"},
    {Id::BadJitterWindow,
     "Please enter a valid jitter window value (1..255)", "Bad Parameter",
     "Bitte geben Sie einen gültigen Jitter-Fenster Wert ein (1..255)", "Falscher Parameter"},
    {Id::TemperatureNeeds24Bits,
     "Attention: Temperature measurement only possible\nwith a data width of 24 bits.\nIt will be set automatically to 24 bits.",
     "Info",
     "Achtung: Temperaturmessung ist nur mit einer\nDatenbreite von 24 Bit erlaubt.\nSie wird automatisch auf 24 Bit gesetzt.",
     "Info"},
    {Id::BadErrorValue,
     "Please enter a valid error value", "Bad Parameter",
     "Bitte geben Sie einen gültigen Wert ein", "Falscher Parameter"},
    {Id::BadErrorCount,
     "Please enter a valid value (1..255)", "Parameter out of range",
     "Bitte geben Sie einen gültigen Wert ein (1..255)", "Parameter nicht im Wertebereich"},
    {Id::PowerfailOff,
     "This will disable the low level voltage detecting!", "Powerfail",
     "Hiermit wird die Unterspannungserkennung ausgeschaltet!", "Unterspannungserkennung"},
    {Id::BadPowerfailTime,
     "Please enter a valid powerfail time (1..100)", "Bad Parameter",
     "Bitte geben Sie eine gültige Powerfail-Zeit ein (1..100)", "Falscher Parameter"},
    {Id::StartPointUnreadable,
     "Can't read the startpoint!", "Read error",
     "Startwert lesen fehlgeschlagen!", "Lesefehler"},
    {Id::EndPointUnreadable,
     "Can't read the endpoint!", "Read error",
     "Endwert lesen fehlgeschlagen!", "Lesefehler"},
    {Id::EmptyMeasuringRange,
     "Endpoint is smaller/equal than startpoint - \nchange parameter, otherwise sensor will \nbe not function!",
     "Measurement range error",
     "Endwert ist kleiner/gleich Startwert - \nParameter ändern, sonst keine Funktion!",
     "Messbereichsfehler"},
    {Id::RangeNeedsTeaching,
     "The measurement range\n(startpoint, endpoint)\n must be reprogrammed!", "Resolution changed!",
     "Der Messbereich (Startwert/Endwert)\nmuss erneut programmiert werden!", "Auflösung geändert!"},
};
// clang-format on

constexpr size_t kCount = std::size(kRows);

constexpr bool rowsFollowTheIds() {
    for (size_t i = 0; i < kCount; ++i) {
        if (kRows[i].id != static_cast<Id>(i))
            return false;
    }
    return kCount == static_cast<size_t>(Id::RangeNeedsTeaching) + 1;
}
static_assert(rowsFollowTheIds(), "one row per message, in the order of the ids");

std::array<MessagePair, kCount> buildMessages() {
    std::array<MessagePair, kCount> messages;
    for (size_t i = 0; i < kCount; ++i) {
        const Row& row = kRows[i];
        messages[i] = {
            {QString::fromUtf8(row.english), QString::fromUtf8(row.german)},
            {QString::fromUtf8(row.englishCaption), QString::fromUtf8(row.germanCaption)}};
    }
    return messages;
}

}  // namespace

const MessagePair& message(Id id) {
    static const std::array<MessagePair, kCount> messages = buildMessages();
    return messages[static_cast<size_t>(id)];
}

}  // namespace mainmessages
