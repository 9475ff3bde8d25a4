#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/TextRows.h"

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

template <typename Id>
TextPair PairOf(const TextRow<Id>& row) {
    return {QString::fromUtf8(row.english), QString::fromUtf8(row.german)};
}

template <typename Id, size_t N>
std::array<TextPair, N> BuildTexts(const TextRow<Id> (&rows)[N]) {
    std::array<TextPair, N> texts;
    for (size_t i = 0; i < N; ++i)
        texts[i] = PairOf(rows[i]);
    return texts;
}

template <typename Id>
MessagePair PairOf(const MessageRow<Id>& row) {
    return {{QString::fromUtf8(row.english), QString::fromUtf8(row.german)},
            {QString::fromUtf8(row.englishCaption), QString::fromUtf8(row.germanCaption)}};
}

template <typename Id, size_t N>
std::array<MessagePair, N> BuildMessages(const MessageRow<Id> (&rows)[N]) {
    std::array<MessagePair, N> messages;
    for (size_t i = 0; i < N; ++i)
        messages[i] = PairOf(rows[i]);
    return messages;
}

// The row's text for UiLanguage, empty for any other value.
template <typename Id>
QString TextIn(uint8_t uiLanguage, const TextRow<Id>& row) {
    return QString::fromUtf8(TextOf(row, uiLanguage));
}

// The message with `appended` (a file name, a reason) after its text in both languages.
MessagePair WithAppended(MessagePair message, const QString& appended);

// The text for UiLanguage: 0 English, 1 German. Any other value shows nothing,
// so a question asked with it is answered neither yes nor no.
std::optional<QString> pick(uint8_t uiLanguage, const TextPair& pair);
std::optional<PickedMessage> pick(uint8_t uiLanguage, const MessagePair& message);

namespace messages {

// Shown after every failed sensor access of a refresh or an editor.
const MessagePair& communicationError();
// Asked before a save replaces an existing file.
const MessagePair& overwriteQuestion();

// The program's own button texts; message boxes never show the toolkit's.
enum class Button { Ok, Yes, No, Retry, Cancel };
const TextPair& buttonText(Button button);

}  // namespace messages
