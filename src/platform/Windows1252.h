#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Texts on disk in Windows-1252 and UTF-8 in memory, converted in both
// directions without silent replacement.
namespace platform {

// The character of one Windows-1252 byte. The five bytes Windows-1252 leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 control
// characters of the same number, as Windows itself decodes them; so every
// byte has a character and every byte string survives a round trip.
char32_t Windows1252CodePoint(unsigned char byte);

std::string DecodeWindows1252(std::string_view bytes);

struct Windows1252Encoding {
    std::optional<std::string> bytes;  // empty when the text cannot be encoded
    size_t errorOffset = 0;            // then the byte offset in the UTF-8 text where it failed
};

// A character that Windows-1252 cannot hold, or bytes that are no valid UTF-8,
// fail the whole text.
Windows1252Encoding EncodeWindows1252(std::string_view utf8);

}  // namespace platform
