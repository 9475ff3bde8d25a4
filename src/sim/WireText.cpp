#include "sim/WireText.h"

namespace sim::wiretext {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

std::optional<int> hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return std::nullopt;
}

}  // namespace

std::string hex(uint32_t value, int digits) {
    std::string text(digits, '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4)
        text[i] = kHexDigits[value & 0xF];
    return text;
}

std::string decimal(uint32_t value, int digits) {
    std::string text = std::to_string(value);
    if (int(text.size()) < digits)
        text.insert(0, digits - text.size(), '0');
    return text;
}

std::optional<uint32_t> parseHex(std::string_view text) {
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    uint32_t value = 0;
    for (char c : text) {
        auto digit = hexDigit(c);
        if (!digit)
            return std::nullopt;
        value = value << 4 | uint32_t(*digit);
    }
    return value;
}

std::optional<uint32_t> parseDecimal(std::string_view text) {
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    uint32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + uint32_t(c - '0');
    }
    return value;
}

int32_t signExtend24(uint32_t value) {
    value &= 0xFFFFFF;
    return (value & 0x800000) ? int32_t(value | 0xFF000000u) : int32_t(value);
}

}  // namespace sim::wiretext
