#include "RegisterInput.h"

#include <cctype>
#include <charconv>

namespace cli {

namespace {

using R = TSSICom::RegisterIndex;

constexpr int64_t kSigned24Min = -(int64_t(1) << 23);
constexpr int64_t kSigned24Max = (int64_t(1) << 23) - 1;
constexpr int kLongLength = 10000;
constexpr int kLongLengthStep = 50;
constexpr size_t kFactoryNumberChars = 8;

struct Range {
    int64_t min;
    int64_t max;
};

std::optional<int64_t> parseNumber(const std::string& text) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* first = text.data() + (hex ? 2 : 0);
    const char* last = text.data() + text.size();
    if (last - first > 12 || first == last)
        return std::nullopt;
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(first, last, value, hex ? 16 : 10);
    if (ec != std::errc() || end != last || (hex && *first == '-'))
        return std::nullopt;
    return value;
}

Range fieldRange(R r, const TSSICom::DataElement& element) {
    switch (r) {
        case TSSICom::Offset:
        case TSSICom::LinStartValue:
            return {kSigned24Min, kSigned24Max};
        case TSSICom::Resolution:
            return {0, 99999999};
        case TSSICom::UltrasonicSpeed:
            return {0, 999999};
        case TSSICom::SecErrorValue:
            return {0, 1};
        default:
            return {0, int64_t(element.Mask >> element.Shift)};
    }
}

std::string checkLength(int64_t value) {
    if (value >= kLongLength && value % kLongLengthStep != 0) {
        return "Length: from 10000 mm on only in steps of 50 mm";
    }
    return {};
}

ValueParse parseModel(const std::string& text) {
    const bool letters = text.size() == 2 && std::isalpha(static_cast<unsigned char>(text[0])) &&
                         std::isalpha(static_cast<unsigned char>(text[1]));
    if (!letters)
        return {std::nullopt, "Model: expected two letters, got '" + text + "'"};
    const int high = std::toupper(static_cast<unsigned char>(text[0]));
    const int low = std::toupper(static_cast<unsigned char>(text[1]));
    return {RegisterInput{high * 256 + low, {}}, {}};
}

ValueParse parseFactoryNumber(const std::string& text) {
    bool valid = !text.empty() && text.size() <= kFactoryNumberChars;
    for (char c : text)
        valid = valid && std::isalnum(static_cast<unsigned char>(c));
    if (!valid) {
        return {std::nullopt,
                "FactoryNumber: expected one to eight letters or digits, got '" + text + "'"};
    }
    std::string normalised(kFactoryNumberChars - text.size(), '0');
    for (char c : text)
        normalised += char(std::toupper(static_cast<unsigned char>(c)));
    return {RegisterInput{0, normalised}, {}};
}

ValueParse parseNumeric(R r, const TSSICom::DataElement& element, const std::string& text) {
    const std::string key = TSSICom::RegisterKey(r);
    const auto number = parseNumber(text);
    if (!number)
        return {std::nullopt, key + ": '" + text + "' is not a number"};
    const Range range = fieldRange(r, element);
    if (*number < range.min || *number > range.max) {
        return {std::nullopt, key + ": " + text + " is outside " + std::to_string(range.min) +
                                  " to " + std::to_string(range.max)};
    }
    if (r == TSSICom::Length) {
        if (std::string error = checkLength(*number); !error.empty())
            return {std::nullopt, error};
    }
    return {RegisterInput{int32_t(uint32_t(*number)), {}}, {}};
}

bool isUnsignedWord(R r) {
    return r == TSSICom::ErrorValue || r == TSSICom::OperatingTime || r == TSSICom::Blanking;
}

}  // namespace

bool isWritable(R r) {
    switch (r) {
        case TSSICom::SSISampleTime:
        case TSSICom::FirmwareVersion:
        case TSSICom::OperatingTime:
        case TSSICom::StartPoint:
        case TSSICom::EndPoint:
        case TSSICom::LinTableByte:
        case TSSICom::LinTableAddress:
            return false;
        default:
            return true;
    }
}

ValueParse parseRegisterValue(R r, const TSSICom::DataElement& element, const std::string& text) {
    if (!isWritable(r)) {
        return {std::nullopt, std::string(TSSICom::RegisterKey(r)) + " cannot be set"};
    }
    if (r == TSSICom::Model)
        return parseModel(text);
    if (r == TSSICom::FactoryNumber)
        return parseFactoryNumber(text);
    return parseNumeric(r, element, text);
}

void applyInput(R r, TSSICom::DataElement& element, const RegisterInput& input) {
    if (r == TSSICom::FactoryNumber) {
        element.Reply = input.text;
    } else {
        element.Value = input.value;
    }
}

std::string modelLetters(int32_t value) {
    const int high = (value >> 8) & 0xFF;
    const int low = value & 0xFF;
    if (!std::isalpha(high) || !std::isalpha(low))
        return std::to_string(value);
    return {char(high), char(low)};
}

std::string displayValue(R r, const TSSICom::DataElement& element) {
    if (r == TSSICom::Model)
        return modelLetters(element.Value);
    if (r == TSSICom::FactoryNumber)
        return element.Reply;
    if (isUnsignedWord(r))
        return std::to_string(uint32_t(element.Value));
    return std::to_string(element.Value);
}

}  // namespace cli
