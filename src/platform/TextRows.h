#pragma once

#include <cstddef>
#include <cstdint>

// Rows of the catalogues of English and German texts (UTF-8), usable with and
// without Qt.

// Values of UiLanguage.
inline constexpr uint8_t kUiEnglish = 0;
inline constexpr uint8_t kUiGerman = 1;

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

// The row's text for UiLanguage: 0 English, 1 German; empty for any other value.
template <typename Id>
constexpr const char* TextOf(const TextRow<Id>& row, uint8_t uiLanguage) {
    switch (uiLanguage) {
        case kUiEnglish:
            return row.english;
        case kUiGerman:
            return row.german;
        default:
            return "";
    }
}
