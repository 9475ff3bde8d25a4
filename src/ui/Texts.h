#pragma once

#include <QString>
#include <array>
#include <cstddef>
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

// One row of a message catalogue: the text and the caption in English and German.
template <typename Id>
struct MessageRow {
    Id id;
    const char* english;
    const char* englishCaption;
    const char* german;
    const char* germanCaption;
};

// One row of a text catalogue: a text in English and German.
template <typename Id>
struct TextRow {
    Id id;
    const char* english;
    const char* german;
};

// Whether a catalogue holds one row per id, in the order of the ids, up to `count`.
template <typename Row, size_t N, typename Id>
constexpr bool RowsFollowIds(const Row (&rows)[N], Id count) {
    for (size_t i = 0; i < N; ++i) {
        if (rows[i].id != static_cast<Id>(i))
            return false;
    }
    return N == static_cast<size_t>(count);
}

template <typename Id, size_t N>
std::array<TextPair, N> BuildTexts(const TextRow<Id> (&rows)[N]) {
    std::array<TextPair, N> texts;
    for (size_t i = 0; i < N; ++i)
        texts[i] = {QString::fromUtf8(rows[i].english), QString::fromUtf8(rows[i].german)};
    return texts;
}

template <typename Id, size_t N>
std::array<MessagePair, N> BuildMessages(const MessageRow<Id> (&rows)[N]) {
    std::array<MessagePair, N> messages;
    for (size_t i = 0; i < N; ++i) {
        messages[i] = {
            {QString::fromUtf8(rows[i].english), QString::fromUtf8(rows[i].german)},
            {QString::fromUtf8(rows[i].englishCaption), QString::fromUtf8(rows[i].germanCaption)}};
    }
    return messages;
}

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
