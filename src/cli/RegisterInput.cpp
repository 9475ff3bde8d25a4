#include "RegisterInput.h"

#include <charconv>
#include <utility>

#include "comm/RegisterTable.h"
#include "comm/SensorRules.h"

namespace cli {

namespace {

using R = TSSICom::RegisterIndex;

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

ValueParse parseModel(const std::string& text) {
    const auto value = rules::ParseModelLetters(text);
    if (!value)
        return {std::nullopt, "Model: expected two letters, got '" + text + "'"};
    return {RegisterInput{*value, {}}, {}};
}

ValueParse parseFactoryNumber(const std::string& text) {
    auto normalised = rules::NormalisedFactoryNumber(text);
    if (!normalised) {
        return {std::nullopt,
                "FactoryNumber: expected one to eight letters or digits, got '" + text + "'"};
    }
    return {RegisterInput{0, std::move(*normalised)}, {}};
}

ValueParse parseNumeric(R r, const std::string& text) {
    const std::string key = TSSICom::RegisterKey(r);
    const auto number = parseNumber(text);
    if (!number)
        return {std::nullopt, key + ": '" + text + "' is not a number"};
    const rules::ValueRange range = rules::RegisterRange(r);
    if (!range.contains(*number)) {
        const std::string unit = comm::registerInfo(r).unit;
        return {std::nullopt, key + ": " + text + " is outside " + std::to_string(range.min) +
                                  " to " + std::to_string(range.max) +
                                  (unit.empty() ? "" : " " + unit)};
    }
    if (r == TSSICom::Length && !rules::IsSendableLength(*number)) {
        return {std::nullopt, "Length: from " + std::to_string(rules::LongLengthFrom) +
                                  " mm on only in steps of " +
                                  std::to_string(rules::LongLengthStep) + " mm"};
    }
    return {RegisterInput{int32_t(uint32_t(*number)), {}}, {}};
}

bool isUnsignedWord(R r) {
    return r == TSSICom::ErrorValue || r == TSSICom::OperatingTime || r == TSSICom::Blanking;
}

}  // namespace

bool isWritable(R r) {
    return comm::registerInfo(r).writable;
}

ValueParse parseRegisterValue(R r, const std::string& text) {
    if (!isWritable(r)) {
        return {std::nullopt, std::string(TSSICom::RegisterKey(r)) + " cannot be set"};
    }
    if (r == TSSICom::Model)
        return parseModel(text);
    if (r == TSSICom::FactoryNumber)
        return parseFactoryNumber(text);
    return parseNumeric(r, text);
}

void applyInput(R r, TSSICom::DataElement& element, const RegisterInput& input) {
    if (r == TSSICom::FactoryNumber) {
        element.Reply = input.text;
    } else {
        element.Value = input.value;
    }
}

std::string displayValue(R r, const TSSICom::DataElement& element) {
    if (r == TSSICom::Model)
        return rules::ModelLetters(element.Value);
    if (r == TSSICom::FactoryNumber)
        return element.Reply;
    if (isUnsignedWord(r))
        return std::to_string(uint32_t(element.Value));
    return std::to_string(element.Value);
}

}  // namespace cli
