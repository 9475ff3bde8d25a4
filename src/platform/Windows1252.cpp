#include "platform/Windows1252.h"

#include <array>
#include <cstdint>
#include <utility>

namespace platform {

namespace {

constexpr unsigned char FirstHighByte = 0x80;
constexpr unsigned char LastHighByte = 0x9F;

constexpr std::array<char16_t, 32> HighBytes = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool IsHighByte(unsigned char byte) {
    return byte >= FirstHighByte && byte <= LastHighByte;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

struct Utf8Char {
    char32_t code = 0;
    size_t length = 0;  // 0 when the bytes are no valid UTF-8
};

size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

char32_t SmallestCodeOfLength(size_t length) {
    constexpr std::array<char32_t, 5> smallest = {0, 0, 0x80, 0x800, 0x10000};
    return smallest[length];
}

Utf8Char NextUtf8(std::string_view text, size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const size_t length = SequenceLength(lead);
    if (length == 0 || at + length > text.size())
        return {};
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80)
            return {};
        code = (code << 6) | (next & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (code < SmallestCodeOfLength(length) || code > 0x10FFFF || surrogate)
        return {};
    return {code, length};
}

std::optional<unsigned char> ByteFor(char32_t code) {
    if (code < FirstHighByte || (code > LastHighByte && code <= 0xFF))
        return static_cast<unsigned char>(code);
    for (size_t i = 0; i < HighBytes.size(); ++i) {
        if (HighBytes[i] == code)
            return static_cast<unsigned char>(FirstHighByte + i);
    }
    return std::nullopt;
}

}  // namespace

char32_t Windows1252CodePoint(unsigned char byte) {
    return IsHighByte(byte) ? HighBytes[byte - FirstHighByte] : byte;
}

std::string DecodeWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes)
        AppendUtf8(out, Windows1252CodePoint(static_cast<unsigned char>(c)));
    return out;
}

Windows1252Encoding EncodeWindows1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t at = 0; at < utf8.size();) {
        const Utf8Char next = NextUtf8(utf8, at);
        const auto byte = next.length == 0 ? std::nullopt : ByteFor(next.code);
        if (!byte)
            return {std::nullopt, at};
        out += static_cast<char>(*byte);
        at += next.length;
    }
    return {std::move(out), 0};
}

}  // namespace platform
