#include "history/gui/HistoryTexts.h"

#include <cstddef>

namespace historytexts {

namespace {

using Row = TextRow<Id>;
using MessageRowOf = MessageRow<Message>;

// clang-format off
constexpr Row kRows[] = {
    {Id::Caption, "History of sensor %1", "Historie des Sensors %1"},
    {Id::TimeColumn, "Time", "Zeit"},
    {Id::OperationColumn, "Operation", "Vorgang"},
    {Id::ResultColumn, "Result", "Ergebnis"},
    {Id::ProgramColumn, "Program", "Programm"},
    {Id::AccountColumn, "Account", "Benutzer"},
    {Id::PortColumn, "Port", "Port"},
    {Id::SubjectColumn, "Subject", "Gegenstand"},
    {Id::RegisterColumn, "Register", "Register"},
    {Id::EventValueColumn, "Value in the event", "Wert im Ereignis"},
    {Id::PresentValueColumn, "Value now", "Wert jetzt"},
    {Id::Succeeded, "OK", "OK"},
    {Id::Failed, "Failed: %1", "Fehlgeschlagen: %1"},
    {Id::NoSet, "This event holds no parameter set.", "Dieses Ereignis enthält keinen Parametersatz."},
    {Id::Unanswered, "-----", "-----"},
    {Id::LoadIntoSensor, "Load into sensor", "In den Sensor laden"},
    {Id::ReplaceSensor, "Replace a sensor…", "Sensor ersetzen…"},
    {Id::Close, "Close", "Schließen"},
    {Id::LoadHeader, "Sensor history, event %1, %2\nRecorded by %3 on %4",
     "Sensorhistorie, Ereignis %1, %2\nGespeichert von %3 an %4"},
    {Id::ReplaceCaption, "Replace a sensor", "Sensor ersetzen"},
    {Id::OldSensorLabel, "Sensor taken out:", "Ausgebauter Sensor:"},
    {Id::LastSetLabel, "Its last parameter set, recorded %1:",
     "Sein letzter Parametersatz, gespeichert %1:"},
    {Id::WriteReplacement, "Write into the connected sensor", "In den angeschlossenen Sensor schreiben"},
    {Id::Cancel, "Cancel", "Abbrechen"},
    {Id::Read, "Read", "Lesen"},
    {Id::Write, "Write", "Schreiben"},
    {Id::Load, "Set load", "Satz laden"},
    {Id::Commit, "EEPROM update", "EEPROM Update"},
    {Id::LinWrite, "Linearization write", "Linearisierung schreiben"},
    {Id::FactoryRestore, "Factory settings", "Werkseinstellung"},
    {Id::FirmwareDownload, "Firmware download", "Firmware laden"},
};

constexpr MessageRowOf kMessages[] = {
    {Message::Unreadable,
     "The history could not be read: %1", "History",
     "Die Historie konnte nicht gelesen werden: %1", "Historie"},
    {Message::NoOtherSensor,
     "The history holds no other sensor with a recorded parameter set.", "Replace a sensor",
     "Die Historie enthält keinen anderen Sensor mit gespeichertem Parametersatz.",
     "Sensor ersetzen"},
    {Message::ReplacementMatches,
     "The parameter set of sensor %1 was written into sensor %2. Every register holds its value.",
     "Replace a sensor",
     "Der Parametersatz des Sensors %1 wurde in den Sensor %2 geschrieben. Alle Register halten "
     "ihren Wert.",
     "Sensor ersetzen"},
    {Message::ReplacementDiffers,
     "The parameter set of sensor %1 was written into sensor %2, but these registers differ:\n%3",
     "Replace a sensor",
     "Der Parametersatz des Sensors %1 wurde in den Sensor %2 geschrieben, aber diese Register "
     "weichen ab:\n%3",
     "Sensor ersetzen"},
    {Message::OtherFirmwareType,
     "The parameter set of sensor %1 was recorded with firmware %2 and does not fit firmware %3 "
     "of the connected sensor. Nothing was written.",
     "Replace a sensor",
     "Der Parametersatz des Sensors %1 stammt von Firmware %2 und passt nicht zur Firmware %3 des "
     "angeschlossenen Sensors. Es wurde nichts geschrieben.",
     "Sensor ersetzen"},
    {Message::OtherModel,
     "The parameter set of sensor %1 belongs to another sensor model than the connected one. "
     "Nothing was written.",
     "Replace a sensor",
     "Der Parametersatz des Sensors %1 gehört zu einem anderen Sensormodell als der angeschlossene "
     "Sensor. Es wurde nichts geschrieben.",
     "Sensor ersetzen"},
    {Message::ReplacementFailed,
     "The parameter set of sensor %1 could not be written: Communication Error", "Replace a sensor",
     "Der Parametersatz des Sensors %1 konnte nicht geschrieben werden: Kommunikationsfehler",
     "Sensor ersetzen"},
};
// clang-format on

static_assert(RowsFollowIds(kRows, Id::Count), "one row per text, in the order of the ids");
static_assert(RowsFollowIds(kMessages, Message::Count),
              "one row per message, in the order of the ids");

Id operationText(history::Operation operation) {
    switch (operation) {
        case history::Operation::Read:
            return Id::Read;
        case history::Operation::Write:
            return Id::Write;
        case history::Operation::Load:
            return Id::Load;
        case history::Operation::Commit:
            return Id::Commit;
        case history::Operation::LinWrite:
            return Id::LinWrite;
        case history::Operation::FactoryRestore:
            return Id::FactoryRestore;
        case history::Operation::FirmwareDownload:
            break;
    }
    return Id::FirmwareDownload;
}

}  // namespace

const TextPair& text(Id id) {
    static const auto texts = BuildTexts(kRows);
    return texts.at(static_cast<size_t>(id));
}

const TextPair& operationName(history::Operation operation) {
    return text(operationText(operation));
}

const MessagePair& message(Message id) {
    static const auto messages = BuildMessages(kMessages);
    return messages.at(static_cast<size_t>(id));
}

MessagePair filled(Message id, const QStringList& arguments) {
    MessagePair filledIn = message(id);
    for (const QString& argument : arguments) {
        filledIn.text.en = filledIn.text.en.arg(argument);
        filledIn.text.de = filledIn.text.de.arg(argument);
    }
    return filledIn;
}

const TextPair& differingRegister() {
    static const TextPair line{QStringLiteral("%1: wanted %2, found %3"),
                               QStringLiteral("%1: gewünscht %2, gefunden %3")};
    return line;
}

}  // namespace historytexts
