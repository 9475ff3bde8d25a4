#include "sim/CommandEngine.h"

#include <algorithm>
#include <cctype>

#include "sim/WireText.h"

namespace sim {

namespace {

using wiretext::hex;
using wiretext::parseHex;

constexpr const char* kAck = "06";
constexpr const char* kNak = "15";

CommandOutcome answer(std::string text) {
    return CommandOutcome{std::move(text)};
}

CommandOutcome persistent() {
    CommandOutcome outcome;
    outcome.persistentChange = true;
    return outcome;
}

bool isUpperLetter(char c) {
    return c >= 'A' && c <= 'Z';
}

bool isFactoryNumberText(std::string_view text) {
    return text.size() == 8 && std::all_of(text.begin(), text.end(), [](char c) {
               return isUpperLetter(c) || (c >= '0' && c <= '9');
           });
}

std::optional<uint32_t> parseWord(std::string_view arg, const WordFormat& format) {
    if (int(arg.size()) != format.digits)
        return std::nullopt;
    return format.decimal ? wiretext::parseDecimal(arg) : parseHex(arg);
}

std::string formatWord(uint32_t value, const WordFormat& format) {
    return format.decimal ? wiretext::decimal(value, format.digits) : hex(value, format.digits);
}

uint32_t widthMask(const WordFormat& format) {
    return format.decimal || format.digits >= 8 ? 0xFFFFFFFFu : (1u << 4 * format.digits) - 1;
}

}  // namespace

CommandOutcome CommandEngine::handle(std::string_view command, int64_t timeMs) {
    if (command.size() < 2)
        return {};
    const std::string_view key = command.substr(0, 2);
    const std::string_view arg = command.substr(2);
    const char op = key[1];
    if (op != 'A' && op != 'N')
        return {};
    switch (key[0]) {
        case 'L':
            return laWord(op, arg);
        case 'F':
            return factoryNumber(op, arg);
        case 'T':
            return operatingTime(op, arg, timeMs);
        case 'V':
            return key == "VA" && arg.empty() ? answer(hex(memory_.firmwareVersion, 6))
                                              : CommandOutcome{};
        case 'Y':
            return op == 'A' ? rangeRead(arg) : rangeCommand(arg);
        case 'X':
            return op == 'A' ? tableRead(arg) : tableWrite(arg);
        case 'C':
        case 'E':
        case 'Q':
        case 'B':
            return arg.empty() ? eepromCommand(key) : CommandOutcome{};
        default:
            return plainWord(key, arg);
    }
}

CommandOutcome CommandEngine::plainWord(std::string_view key, std::string_view arg) {
    const std::string name{key[0], 'A'};
    const auto format = plainWordFormat(name, memory_.firmwareVersion);
    if (!format)
        return {};
    uint32_t& word = memory_.working.words.at(name);
    if (key[1] == 'A')
        return arg.empty() ? answer(formatWord(word & widthMask(*format), *format))
                           : CommandOutcome{};
    if (auto value = parseWord(arg, *format))
        word = *value;
    return {};
}

CommandOutcome CommandEngine::laWord(char op, std::string_view arg) {
    if (op == 'A')
        return arg.empty() ? answer(memory_.working.la) : CommandOutcome{};
    if (arg.size() == 6 && isUpperLetter(arg[0]) && isUpperLetter(arg[1]) &&
        isLengthCode(arg.substr(2)))
        memory_.working.la = arg;
    return {};
}

CommandOutcome CommandEngine::factoryNumber(char op, std::string_view arg) {
    if (op == 'A')
        return arg.empty() ? answer(memory_.working.fa) : CommandOutcome{};
    if (isFactoryNumberText(arg))
        memory_.working.fa = arg;
    return {};
}

CommandOutcome CommandEngine::operatingTime(char op, std::string_view arg, int64_t timeMs) {
    if (op == 'A')
        return arg.empty() ? answer(hex(memory_.operatingTime(timeMs), 8)) : CommandOutcome{};
    if (arg.size() == 8)
        if (auto counts = parseHex(arg))
            memory_.setOperatingTime(*counts, timeMs);
    return {};
}

CommandOutcome CommandEngine::rangeRead(std::string_view arg) const {
    const std::string read = "YA" + std::string(arg);
    const auto& words = memory_.working.words;
    if (read == kSecondErrorRead)
        return answer(hex(words.at(read), 2));
    if (read == kStartPointRead || read == kEndPointRead)
        return answer(hex(words.at(read), 8));
    return {};
}

CommandOutcome CommandEngine::rangeCommand(std::string_view arg) {
    auto& words = memory_.working.words;
    if (arg == "00000000")
        return teach(kStartPointRead);
    if (arg == "80000000")
        return teach(kEndPointRead);
    if (arg == "40000000")
        words[kStartPointRead] = 0;
    else if (arg == "C0000000")
        words[kEndPointRead] = kNoEndPoint;
    else if (arg == "20000000")
        words[kSecondErrorRead] = 0;
    else if (arg == "30000000")
        words[kSecondErrorRead] = 1;
    else
        return {};
    return answer(kAck);
}

CommandOutcome CommandEngine::teach(const char* point) {
    if (faults_.teachUnconfirmed || memory_.magnetCount != 1)
        return answer(kNak);
    memory_.working.words[point] = memory_.magnetPosition();
    return answer(kAck);
}

CommandOutcome CommandEngine::tableRead(std::string_view arg) const {
    if (!memory_.hasLinearizationTable || arg.size() != 6 || arg.substr(4) != "00")
        return {};
    const auto address = parseHex(arg.substr(0, 4));
    if (!address)
        return {};
    const auto& table = memory_.linTable;
    if (*address == LinearizationTable::kStartValueAddress)
        return answer(hex(uint32_t(table.startValue()), 6));
    const uint32_t echoed = *address + (faults_.wrongLinAddress ? 1 : 0);
    return answer(hex((echoed & 0x1FF) << 8 | table.byte(int(*address)), 6));
}

CommandOutcome CommandEngine::tableWrite(std::string_view arg) {
    if (!memory_.hasLinearizationTable || arg.size() != 8)
        return {};
    auto& table = memory_.linTable;
    if (arg.substr(0, 2) == "33") {
        const auto value = parseHex(arg.substr(2));
        if (!value)
            return {};
        table.setStartValue(wiretext::signExtend24(*value));
        return persistent();
    }
    const auto address = parseHex(arg.substr(0, 4));
    const auto data = parseHex(arg.substr(4));
    if (!address || !data || *data > 0xFF || !LinearizationTable::contains(int(*address)))
        return {};
    table.setByte(int(*address), uint8_t(*data));
    return persistent();
}

CommandOutcome CommandEngine::eepromCommand(std::string_view key) {
    if (key == "CN") {
        memory_.eeprom = memory_.working;
    } else if (key == "EN") {
        memory_.eeprom = memory_.working;
        memory_.factory = memory_.working;
    } else if (key == "QN") {
        memory_.working = memory_.factory;
        memory_.eeprom = memory_.factory;
    } else if (key == "BN") {
        CommandOutcome outcome;
        outcome.enterBootloader = true;
        return outcome;
    } else {
        return {};
    }
    return persistent();
}

}  // namespace sim
