#include "firmware/HexFile.h"

#include <string>

#include "comm/Ssicom.h"

namespace firmware {

namespace {

constexpr size_t kBytesAroundData = 5;  // count, two address bytes, type, checksum
constexpr size_t kDataOffset = 4;
constexpr size_t kTypeOffset = 3;
constexpr size_t kMostDataBytes = 16;

struct Token {
    std::string_view text;
    int lineNumber;
};

bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// CR LF is one line end, counted at its LF.
bool endsLine(std::string_view text, size_t i) {
    return text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'));
}

std::vector<Token> tokens(std::string_view text) {
    std::vector<Token> found;
    int lineNumber = 1;
    size_t i = 0;
    while (i < text.size()) {
        if (isSeparator(text[i])) {
            lineNumber += endsLine(text, i) ? 1 : 0;
            ++i;
            continue;
        }
        const size_t start = i;
        while (i < text.size() && !isSeparator(text[i]))
            ++i;
        found.push_back({text.substr(start, i - start), lineNumber});
    }
    return found;
}

uint8_t byteAt(std::string_view digits, size_t index) {
    const size_t at = 2 * index;
    return uint8_t(TSSICom::HexToInt(std::string(at < digits.size() ? digits.substr(at, 2) : "")));
}

HexLine decode(std::string_view digits, int lineNumber) {
    HexLine line{lineNumber, {}};
    const size_t length = byteAt(digits, 0) + kBytesAroundData;
    for (size_t i = 0; i < length; ++i)
        line.bytes.push_back(byteAt(digits, i));
    return line;
}

bool holdsTooMuch(std::string_view digits) {
    return digits.size() > MaxHexDigits || byteAt(digits, 0) > kMostDataBytes;
}

HexFile refused(ImageError error, int lineNumber) {
    return {{}, error, lineNumber};
}

}  // namespace

uint16_t HexLine::address() const {
    return uint16_t(bytes[1] << 8 | bytes[2]);
}

RecordType HexLine::type() const {
    return RecordType(bytes[kTypeOffset]);
}

std::span<const uint8_t> HexLine::data() const {
    return std::span(bytes).subspan(kDataOffset, bytes.size() - kBytesAroundData);
}

bool HexLine::checksumValid() const {
    unsigned sum = 0;
    for (const uint8_t b : bytes)
        sum += b;
    return sum % 256 == 0;
}

HexFile parseHexFile(std::string_view text) {
    const std::vector<Token> all = tokens(text);
    HexFile file;
    for (const Token& token : all) {
        if (token.text.front() != ':')
            return refused(ImageError::NoColon, token.lineNumber);
        const std::string_view digits = token.text.substr(1);
        if (holdsTooMuch(digits))
            return refused(ImageError::TooManyDigits, token.lineNumber);
        HexLine line = decode(digits, token.lineNumber);
        if (line.type() == RecordType::EndOfFile) {
            if (file.lines.empty())
                return refused(ImageError::NoDataLine, token.lineNumber);
            return file;
        }
        file.lines.push_back(std::move(line));
    }
    if (file.lines.empty())
        return refused(ImageError::NoDataLine, all.empty() ? 1 : all.front().lineNumber);
    return refused(ImageError::NoEndRecord, all.back().lineNumber);
}

}  // namespace firmware
