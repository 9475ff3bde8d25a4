#include "files/gui/FileTexts.h"

#include <array>

namespace filetexts {

namespace {

using Row = MessageRow<Id>;

// clang-format off
constexpr Row kRows[] = {
    {Id::CannotCreate,
     "Unable to open file", "Error while saving data",
     "Fehler beim Schreiben der Datei", "Fehler"},
    {Id::CommentNotStorable,
     "The comment cannot hold the character “%1” (U+%2): a parameter file keeps only the characters of Windows-1252.\nPlease remove or replace it.",
     "Error while saving data",
     "Der Kommentar kann das Zeichen „%1“ (U+%2) nicht aufnehmen: Eine Parameterdatei speichert nur die Zeichen von Windows-1252.\nBitte entfernen oder ersetzen Sie es.",
     "Fehler"},
    {Id::FileNotFound,
     "File not found", "File not found",
     "Datei nicht gefunden", "Datei nicht gefunden"},
    {Id::CannotOpen,
     "Unable to open file", "Error while loading data",
     "Datei kann nicht geöffnet werden", "Fehler beim Öffnen der Datei"},
    {Id::TooBig,
     "File is too big", "Error",
     "Datei ist zu groß", "Fehler"},
    {Id::ErrorInFile,
     "Error in File", "Error",
     "Fehler in Datei", "Fehler"},
    {Id::NotCompatible,
     "File is not compatible", "Error",
     "Datei ist nicht kompatibel", "Fehler"},
    {Id::WriteToSensorFailed,
     "Error while writing parameters to sensor", "Communication Error",
     "Fehler beim Schreiben der Parameter", "Kommunikationsfehler"},
};
// clang-format on

constexpr size_t kCount = std::size(kRows);
static_assert(RowsFollowIds(kRows, Id::Count), "one row per message, in the order of the ids");

}  // namespace

const MessagePair& message(Id id) {
    static const std::array<MessagePair, kCount> messages = BuildMessages(kRows);
    return messages[static_cast<size_t>(id)];
}

MessagePair commentNotStorable(char32_t character) {
    MessagePair filled = message(Id::CommentNotStorable);
    const QString shown = QString::fromUcs4(&character, 1);
    const QString codePoint =
        QString::number(static_cast<uint32_t>(character), 16).toUpper().rightJustified(4, u'0');
    for (QString* text : {&filled.text.en, &filled.text.de})
        *text = text->arg(shown, codePoint);
    return filled;
}

const TextPair& commentCaption() {
    static const TextPair text{QStringLiteral("File Comment"), QStringLiteral("Dateikommentar")};
    return text;
}

const TextPair& commentPrompt() {
    static const TextPair text{
        QStringLiteral("You can optionally add a comment, which is stored with your parameter "
                       "data (max 512 characters):"),
        QStringLiteral("Sie können optional einen Kommentar eingeben, der mitgespeichert wird "
                       "(maximal 512 Buchstaben):")};
    return text;
}

const TextPair& commentOk() {
    static const TextPair text{QStringLiteral("OK"), QStringLiteral("OK")};
    return text;
}

const TextPair& openCaption() {
    static const TextPair text{QStringLiteral("Open and Download Sensor Parameter"),
                               QStringLiteral("Öffnen und Herunterladen der Sensorparameter")};
    return text;
}

const TextPair& openInformation() {
    static const TextPair text{
        QStringLiteral("The following information was saved with the sensor parameters:"),
        QStringLiteral("Folgende Information wurde mit den Sensorparametern gespeichert:")};
    return text;
}

const TextPair& openSaveDate() {
    static const TextPair text{QStringLiteral("Date of saving: "),
                               QStringLiteral("Speicherdatum: ")};
    return text;
}

const TextPair& openFileColumn() {
    static const TextPair text{QStringLiteral("In the file"), QStringLiteral("In der Datei")};
    return text;
}

const TextPair& openSensorColumn() {
    static const TextPair text{QStringLiteral("In the sensor"), QStringLiteral("Im Sensor")};
    return text;
}

const TextPair& openModel() {
    static const TextPair text{QStringLiteral("Sensor type:"), QStringLiteral("Sensortyp:")};
    return text;
}

const TextPair& openLength() {
    static const TextPair text{QStringLiteral("Length:"), QStringLiteral("Länge:")};
    return text;
}

const TextPair& openQuestion() {
    static const TextPair text{QStringLiteral("Really load this file?"),
                               QStringLiteral("Diese Datei laden?")};
    return text;
}

const TextPair& openYes() {
    static const TextPair text{QStringLiteral("Yes"), QStringLiteral("Ja")};
    return text;
}

const TextPair& openNo() {
    static const TextPair text{QStringLiteral("No"), QStringLiteral("Nein")};
    return text;
}

}  // namespace filetexts
