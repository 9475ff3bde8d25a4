#include "comm/RegisterTable.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "comm/SensorRules.h"
#include "comm/Ssicom.h"

namespace comm {

namespace {

using enum Encoding;

constexpr uint32_t All = 0xFFFFFFFF;

// clang-format off
constexpr std::array<RegisterInfo, ParameterSet::RegisterCount> Table{{
    {"Resolution",         "AA",         "AN",   All,        0,  8, Decimal, 1, 1000000, "µm", true},
    {"Filter",             "DA",         "DN",   0x00C00000, 22, 6, Hex, 0, 3, "", true},
    {"SlowAvarageFilter",  "DA",         "DN",   0x00200000, 21, 6, Hex, 0, 1, "", true},
    {"Measurement",        "DA",         "DN",   0x000C0000, 18, 6, Hex, 0, 3, "", true},
    {"OutputCode",         "DA",         "DN",   0x00020000, 17, 6, Hex, 0, 1, "", true},
    {"Direction",          "DA",         "DN",   0x00010000, 16, 6, Hex, 0, 1, "", true},
    {"IndicationCounter",  "DA",         "DN",   0x0000FF00, 8,  6, Hex, 1, 255, "", true},
    {"BitWidth",           "DA",         "DN",   0x000000FF, 0,  6, Hex, 1, 32, "bit", true},
    {"PositionCount",      "KA",         "KN",   0x000000FF, 0,  6, Hex, 0, 255, "", true},
    {"Mode",               "KA",         "KN",   0x0000FF00, 8,  6, Hex, 0, 255, "", true},
    {"OutputFlags",        "KA",         "KN",   0x00FF0000, 16, 6, Hex, 0, 255, "", true},
    {"Length",             "LA",         "LN",   0x0000FFFF, 0,  6, LengthWord, 1, 0xFFFF, "mm", true},
    {"Offset",             "NA",         "NN",   All,        0,  6, Signed24, -0x800000, 0x7FFFFF, "", true},
    {"ErrorValue",         "PA",         "PN",   All,        0,  8, Hex, 0, 0xFFFFFFFF, "", true},
    {"PowerfailTime",      "RA",         "RN",   0x000000FF, 0,  6, Hex, 0, 100, "ms", true},
    {"LinearizationFlags", "RA",         "RN",   0x0000FF00, 8,  8, Hex, 0, 255, "", true},
    {"SSISampleTime",      "RA",         "RN",   0xFFFF0000, 16, 8, None, 0, 0xFFFF, "", false},
    {"Model",              "LA",         "LN",   0x00FF0000, 16, 6, LengthWord, 0, 0xFFFF, "", true},
    {"Chargepump",         "JA",         "JN",   0x000000FF, 0,  6, Hex, 0, 255, "", true},
    {"SyncTiming",         "MA",         "MN",   0x00FFFF00, 8,  6, Hex, 0, 0xFFFF, "× 0.25 µs", true},
    {"JitterWindow",       "MA",         "MN",   0x000000FF, 0,  6, Hex, 1, 255, "µs", true},
    {"MonoflopTime",       "OA",         "ON",   0x000000FF, 0,  6, Hex, 1, 50, "µs", true},
    {"Scale",              "SA",         "SN",   0x00FFFFFF, 0,  6, Hex, 0, 0xFFFFFF, "", true},
    {"CycleTime",          "ZA",         "ZN",   0x00FFFF00, 8,  6, Hex, 0, 0xFFFF, "× 0.25 µs", true},
    {"UARTCounter",        "ZA",         "ZN",   0x000000FF, 0,  6, Hex, 1, 255, "", true},
    {"FirmwareVersion",    "VA",         "",     0x00FFFFFF, 0,  6, Hex, 0, 0xFFFFFF, "", false},
    {"SecErrorValue",      "YA30000000", "YN",   All,        28, 2, PrefixedHex, 0, 1, "", true},
    {"SSIStartSync",       "DA",         "DN",   0x00100000, 20, 6, Hex, 0, 1, "", true},
    {"FactoryNumber",      "FA",         "FN",   All,        0,  8, Text, 1, 8, "characters", true},
    {"UltrasonicSpeed",    "UA",         "UN",   0x00FFFFFF, 0,  6, Decimal, 1, 999999, "cm/s", true},
    {"OperatingTime",      "TA",         "TN",   All,        0,  8, Hex, 0, 0xFFFFFFFF, "", false},
    {"StartPoint",         "YA00000000", "YN",   All,        0,  8, PrefixedHex, 0, 0xFFFFFFFF, "", false},
    {"EndPoint",           "YA80000000", "YN",   All,        0,  8, PrefixedHex, 0, 0xFFFFFFFF, "", false},
    {"LinTableByte",       "XA",         "XN",   0x000000FF, 0,  6, PrefixedHex, 0, 255, "", false},
    {"LinTableAddress",    "",           "",     0x0001FF00, 8,  6, None, 0, 0x1FF, "", false},
    {"LinStartValue",      "XA01F600",   "XN33", All,        0,  6, Signed24, -0x800000, 0x7FFFFF, "", true},
    {"Blanking",           "WA",         "WN",   All,        0,  8, Hex, 0, 255, "", true},
}};
// clang-format on

bool isDigit(int c) {
    return c >= '0' && c <= '9';
}

bool isHexDigit(int c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

template <typename Pred>
bool allOf(const std::string& text, Pred pred) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [&](char c) {
        return pred(static_cast<unsigned char>(c));
    });
}

bool lengthWordFits(const std::string& reply) {
    int32_t length = 0;
    return reply.size() >= 6 && isModelLetter(static_cast<unsigned char>(reply[0])) &&
           isModelLetter(static_cast<unsigned char>(reply[1])) && decodeLengthCode(reply, length);
}

}  // namespace

const RegisterInfo& registerInfo(ParameterSet::RegisterIndex r) {
    return Table[r];
}

bool isModelLetter(int c) {
    return isDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isTextChar(int c) {
    return c >= 0x20 && c <= 0x7E;
}

bool replyFits(ParameterSet::RegisterIndex r, const std::string& reply) {
    switch (Table[r].encoding) {
        case Hex:
        case Signed24:
        case PrefixedHex:
            return allOf(reply, isHexDigit);
        case Decimal:
            return allOf(reply, isDigit);
        case LengthWord:
            return lengthWordFits(reply);
        case Text:
            return allOf(reply, isTextChar);
        case None:
            break;
    }
    return false;
}

bool parseDecimal(const std::string& text, int32_t& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    int32_t parsed = 0;
    const auto [end, error] = std::from_chars(first, last, parsed);
    if (error != std::errc() || end != last) {
        return false;
    }
    value = parsed;
    return true;
}

bool decodeLengthCode(const std::string& laWord, int32_t& value) {
    if (laWord.size() < 6) {
        return false;
    }
    std::string digits = laWord.substr(2, 4);
    const char code = static_cast<char>(digits[3] | 0x20);
    if (code == 'c') {
        digits.replace(3, 1, "50");
    } else if (code == 'f') {
        digits.replace(3, 1, "00");
    }
    int32_t length = 0;
    if (!allOf(digits, isDigit) || !parseDecimal(digits, length)) {
        return false;
    }
    value = length & 0xFFFF;
    return true;
}

std::string encodeLengthCode(int32_t length) {
    if (!rules::IsSendableLength(length)) {
        return {};
    }
    if (length < rules::LongLengthFrom) {
        return TSSICom::ToDecimal(length, 4);
    }
    const std::string digits = std::to_string(length);
    return digits.substr(0, 3) + (digits[3] == '5' ? 'C' : 'F');
}

}  // namespace comm
