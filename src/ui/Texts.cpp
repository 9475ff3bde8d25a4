#include "ui/Texts.h"

std::optional<QString> pick(uint8_t uiLanguage, const TextPair& pair) {
    switch (uiLanguage) {
        case kUiEnglish:
            return pair.en;
        case kUiGerman:
            return pair.de;
        default:
            return std::nullopt;
    }
}

MessagePair WithAppended(MessagePair message, const QString& appended) {
    message.text.en += appended;
    message.text.de += appended;
    return message;
}

std::optional<PickedMessage> pick(uint8_t uiLanguage, const MessagePair& message) {
    auto text = pick(uiLanguage, message.text);
    auto caption = pick(uiLanguage, message.caption);
    if (!text || !caption) {
        return std::nullopt;
    }
    return PickedMessage{*text, *caption};
}

namespace messages {

const MessagePair& communicationError() {
    static const MessagePair message{
        {QStringLiteral("Communication Error"), QStringLiteral("Kommunikationsfehler")},
        {QStringLiteral("Error"), QStringLiteral("Fehler")}};
    return message;
}

const MessagePair& overwriteQuestion() {
    static const MessagePair message{
        {QStringLiteral("File already exists. Overwrite?"),
         QStringLiteral("Datei existiert bereits. Überschreiben?")},
        {QStringLiteral("Save file"), QStringLiteral("Datei speichern")}};
    return message;
}

const TextPair& buttonText(Button button) {
    static const TextPair ok{QStringLiteral("OK"), QStringLiteral("OK")};
    static const TextPair yes{QStringLiteral("&Yes"), QStringLiteral("&Ja")};
    static const TextPair no{QStringLiteral("&No"), QStringLiteral("&Nein")};
    static const TextPair retry{QStringLiteral("&Retry"), QStringLiteral("&Wiederholen")};
    static const TextPair cancel{QStringLiteral("&Cancel"), QStringLiteral("&Abbrechen")};
    switch (button) {
        case Button::Yes:
            return yes;
        case Button::No:
            return no;
        case Button::Retry:
            return retry;
        case Button::Cancel:
            return cancel;
        case Button::Ok:
            break;
    }
    return ok;
}

}  // namespace messages
