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
    {Id::OffsetMustBeZero,
     "Attention: Offset must be zero!\nOutput value = Differential + Offset", "Warning",
     "Achtung: Offset auf Null stellen!\nAusgabewert = Differenz + Offset", "Warnung"},
    {Id::VelocityZeroesFilter,
     "Attention: Filter setting does not have\nany effect in velocity mode.\nIt will be zeroed automatically", "Info",
     "Achtung: Die Filtereinstellung hat im\nGeschwindigkeitsmodus keine Auswikung.\nSie wird automatisch auf 0 gesetzt.", "Info"},
    {Id::ResolutionKSeries,
     "Resolution must be greater than 10µm (K Series)!\nFor Q Serie SSI up to 1µm", "Error",
     "Auflösung erlaubt >= 10µm (K Serie SSI)!\nQ Serie SSI: 1µm", "Fehler"},
    {Id::BadResolution,
     "Please enter a valid resolution value in µm:\n0.5, 1, 2, 3, ...", "Bad Parameter",
     "Bitte geben Sie eine gültige Auflösung in µm ein:\n0.5, 1, 2, 3, ...", "Falscher Parameter"},
    {Id::HalfMicrometreNotAvailable,
     "Not available for this Sensor type!\nAvailable only for Q Series!", "ERROR",
     "Nicht verfügbar für diesen Sensortyp!\nVerfügbar nur für Q Serie!", "FEHLER"},
    {Id::BadOffset,
     "Please enter a valid offset value", "Bad Parameter",
     "Bitte geben Sie einen gültigen Offset-Wert ein", "Falscher Parameter"},
    {Id::CheckStartOfMeasurement,
     "Check 'Start of measurement': sync. / async.\nAfter disable this parameter will synchronous\nmode be activated!", "Attention",
     "Bitte überprüfen:\nNach deaktivieren wird Messstart auf\n'synchron' gestellt!", "Achtung"},
    {Id::OffsetNotMirrored,
     "The offset is not mirrored for this sensor type.\nPlease set a new origin.", "Info",
     "Der Offset wird für diesen Sensortyp nicht gespiegelt.\nBitte setzen Sie einen neuen Nullpunkt.", "Info"},
    {Id::NoPositionReceived,
     "No position was received from the sensor.\nThe origin has not been changed.", "Error",
     "Vom Sensor wurde keine Position empfangen.\nDer Nullpunkt wurde nicht geändert.", "Fehler"},
    {Id::MagnetError,
     "None or too many magnets found!", "Magnet error",
     "Kein (oder mehr als ein) Magnet gefunden!", "Magnetfehler"},
    {Id::OperationFailed,
     "Operation failed!", "Error",
     "Schreiben fehlgeschlagen!", "Fehler"},
    {Id::BadFactoryNumber,
     "Please enter a valid factory number", "Bad Parameter",
     "Bitte geben Sie eine gültige Fertigungsnummer ein", "Falscher Parameter"},
    {Id::LengthUpTo1000,
     "Please enter a valid length (1...1000)", "Bad Parameter",
     "Bitte geben Sie eine gültige Länge ein (1...1000)", "Falscher Parameter"},
    {Id::LengthInSteps,
     "For length greater 10.000 mm only in 50mm steps!", "Bad Parameter",
     "Für Längen größer 10.000 mm nur in 50mm-Schritten!", "Falscher Parameter"},
    {Id::BadLength,
     "Please enter a valid length", "Bad Parameter",
     "Bitte geben Sie eine gültige Länge ein", "Falscher Parameter"},
    {Id::BadUltrasonicSpeed,
     "Please enter a valid ultrasonic speed in cm/s", "Bad Parameter",
     "Bitte geben Sie eine gültige Ultraschallgeschwindigkeit in cm/s ein", "Falscher Parameter"},
    {Id::BadCycleTime,
     "Please enter a valid cycle time", "Bad Parameter",
     "Bitte geben Sie eine gültige Zykluszeit ein", "Parameter nicht gültig"},
    {Id::BadSyncTiming,
     "Please enter a valid cycle time", "Bad Parameter",
     "Bitte geben Sie eine gültige Zykluszeit ein", "Falscher Parameter"},
    {Id::BadMonoflopTime,
     "Please enter a valid monoflop time (1..50)", "Bad Parameter",
     "Bitte geben Sie eine gültige Monoflop-Zeit ein (1..50)", "Falscher Parameter"},
    {Id::BadBlanking,
     "Please enter a valid Blanking time (0..255)", "Bad Parameter",
     "Bitte geben Sie eine gültige Blanking-Zeit ein (0..255)", "Falscher Parameter"},
    {Id::RestoreQuestion,
     "This will overwrite your settings with the original factory settings", "Overwrite User Settings?",
     "Soll Werkseinstellung wiederhergestellt werden?", "Benutzereinstellung überschreiben?"},
};
// clang-format on

constexpr size_t kCount = std::size(kRows);

constexpr bool rowsFollowTheIds() {
    for (size_t i = 0; i < kCount; ++i) {
        if (kRows[i].id != static_cast<Id>(i))
            return false;
    }
    return kCount == static_cast<size_t>(Id::Count);
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
