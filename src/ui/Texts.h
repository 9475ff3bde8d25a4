#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// Values of UiLanguage.
inline constexpr uint8_t kUiEnglish = 0;
inline constexpr uint8_t kUiGerman = 1;

// A user-visible text in English and German.
struct TextPair {
    QString en;
    QString de;
};

// The text and the caption of a message box.
struct MessagePair {
    TextPair text;
    TextPair caption;
};

struct PickedMessage {
    QString text;
    QString caption;
};

// The text for UiLanguage: 0 English, 1 German. Any other value shows nothing,
// so a question asked with it is answered neither yes nor no.
std::optional<QString> pick(uint8_t uiLanguage, const TextPair& pair);
std::optional<PickedMessage> pick(uint8_t uiLanguage, const MessagePair& message);

namespace messages {

// Shown after every failed sensor access of a refresh or an editor.
const MessagePair& communicationError();

// The program's own button texts; message boxes never show the toolkit's.
enum class Button { Ok, Yes, No, Retry, Cancel };
const TextPair& buttonText(Button button);

}  // namespace messages
