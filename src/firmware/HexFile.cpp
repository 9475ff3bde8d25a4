#include "firmware/HexFile.h"

#include <string>

#include "comm/Ssicom.h"

namespace firmware {

namespace {

constexpr size_t kBytesAroundData = 5;  // count, two address bytes, type, checksum
constexpr size_t kDataOffset = 4;
constexpr size_t kCountLowDigit = 1;  // the count's low digit, after its high one
constexpr size_t kLongestLine = 21;   // a count of 16 has the low digit 0

struct Token {
    std::string_view text;
    int lineNumber;
};

bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::vector<Token> tokens(std::string_view text) {
    std::vector<Token> found;
    int lineNumber = 1;
    size_t i = 0;
    while (i < text.size()) {
        if (isSeparator(text[i])) {
            lineNumber += text[i++] == '\n' ? 1 : 0;
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

size_t lineLength(std::string_view digits) {
    const size_t low = kCountLowDigit < digits.size()
                           ? TSSICom::HexToInt(std::string(1, digits[kCountLowDigit]))
                           : 0;
    return low == 0 ? kLongestLine : low + kBytesAroundData;
}

HexLine decode(const Token& token) {
    const std::string_view digits = token.text.substr(1);
    HexLine line{token.lineNumber, {}};
    const size_t length = lineLength(digits);
    for (size_t i = 0; i < length; ++i)
        line.bytes.push_back(byteAt(digits, i));
    return line;
}

HexFile refused(ImageError error, int lineNumber) {
    return {{}, error, lineNumber};
}

}  // namespace

uint16_t HexLine::address() const {
    return uint16_t(bytes[1] << 8 | bytes[2]);
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
    if (all.size() < 2)
        return refused(ImageError::NoDataLine, all.empty() ? 1 : all.front().lineNumber);
    HexFile file;
    for (size_t i = 0; i + 1 < all.size(); ++i) {
        const Token& token = all[i];
        if (token.text.front() != ':')
            return refused(ImageError::NoColon, token.lineNumber);
        if (token.text.size() - 1 > MaxHexDigits)
            return refused(ImageError::TooManyDigits, token.lineNumber);
        file.lines.push_back(decode(token));
    }
    return file;
}

}  // namespace firmware
