#include "sim/StateFile.h"

#include <fstream>
#include <span>
#include <sstream>
#include <vector>

#include "sim/WireText.h"

namespace sim {

namespace {

constexpr const char* kHeader = "varnel-sensor-state 1";
constexpr int kTableBytes =
    LinearizationTable::kLastAddress - LinearizationTable::kFirstAddress + 1;

void formatBank(std::ostream& out, const char* name, const RegisterBank& bank) {
    for (const auto& [word, value] : bank.words)
        out << name << ' ' << word << ' ' << wiretext::hex(value, 8) << '\n';
    out << name << " LA " << bank.la << '\n';
    out << name << " FA " << bank.fa << '\n';
}

std::string formatTable(const LinearizationTable& table) {
    std::string text;
    for (int a = LinearizationTable::kFirstAddress; a <= LinearizationTable::kLastAddress; ++a)
        text += wiretext::hex(table.byte(a), 2);
    return text;
}

bool parseTable(const std::string& text, LinearizationTable& table) {
    if (text.size() != 2 * kTableBytes)
        return false;
    for (int i = 0; i < kTableBytes; ++i) {
        const auto value = wiretext::parseHex(std::string_view(text).substr(2 * i, 2));
        if (!value)
            return false;
        table.setByte(LinearizationTable::kFirstAddress + i, uint8_t(*value));
    }
    return true;
}

std::string formatBytes(std::span<const uint8_t> bytes) {
    std::string text;
    for (const uint8_t b : bytes)
        text += wiretext::hex(b, 2);
    return text;
}

void formatFlash(std::ostream& out, const FlashMemory& flash) {
    for (int page = 0; page < FlashMemory::kPages; ++page) {
        if (!flash.erased(page))
            out << "flash " << wiretext::hex(uint32_t(page), 2) << ' '
                << formatBytes(flash.page(page)) << '\n';
    }
}

// "flash PAGE DATA": one page of the program memory, in hexadecimal.
bool parseFlashLine(std::istringstream& line, FlashMemory& flash) {
    std::string index, data, rest;
    if (!(line >> index >> data) || (line >> rest))
        return false;
    const auto page = wiretext::parseHex(index);
    if (!page || *page >= uint32_t(FlashMemory::kPages) ||
        data.size() != 2 * size_t(flash.pageSize()))
        return false;
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < data.size(); i += 2) {
        const auto value = wiretext::parseHex(std::string_view(data).substr(i, 2));
        if (!value)
            return false;
        bytes.push_back(uint8_t(*value));
    }
    flash.writePage(int(*page), bytes);
    return true;
}

bool parseBankLine(std::istringstream& line, RegisterBank& bank) {
    std::string word, value, rest;
    if (!(line >> word >> value) || (line >> rest))
        return false;
    if (word == "LA") {
        bank.la = value;
        return value.size() == 6 && isLengthCode(value.substr(2));
    }
    if (word == "FA") {
        bank.fa = value;
        return value.size() == 8;
    }
    const auto parsed = wiretext::parseHex(value);
    if (!parsed || !bank.words.contains(word))
        return false;
    bank.words[word] = *parsed;
    return true;
}

bool parseSingle(std::istringstream& line, std::string& value) {
    std::string rest;
    return bool(line >> value) && !(line >> rest);
}

bool parseLine(const std::string& text, SensorMemory& memory, int64_t timeMs) {
    std::istringstream line(text);
    std::string key, value;
    line >> key;
    if (key == "eeprom")
        return parseBankLine(line, memory.eeprom);
    if (key == "factory")
        return parseBankLine(line, memory.factory);
    if (key == "flash")
        return parseFlashLine(line, memory.flash);
    if (!parseSingle(line, value))
        return false;
    const auto number = wiretext::parseHex(value);
    if (key == "lin-table")
        return parseTable(value, memory.linTable);
    if (key == "lin-start-value" && number) {
        memory.linTable.setStartValue(wiretext::signExtend24(*number));
        return true;
    }
    if (key == "operating-time" && number) {
        memory.setOperatingTime(*number, timeMs);
        return true;
    }
    return false;
}

}  // namespace

std::string formatState(const SensorMemory& memory, int64_t timeMs) {
    std::ostringstream out;
    out << kHeader << '\n';
    formatBank(out, "eeprom", memory.eeprom);
    formatBank(out, "factory", memory.factory);
    out << "lin-table " << formatTable(memory.linTable) << '\n';
    out << "lin-start-value " << wiretext::hex(uint32_t(memory.linTable.startValue()), 6) << '\n';
    out << "operating-time " << wiretext::hex(memory.operatingTime(timeMs), 8) << '\n';
    formatFlash(out, memory.flash);
    return out.str();
}

bool parseState(std::string_view text, SensorMemory& memory, int64_t timeMs) {
    std::istringstream in{std::string(text)};
    std::string line;
    if (!std::getline(in, line) || line != kHeader)
        return false;
    SensorMemory loaded = memory;
    while (std::getline(in, line))
        if (!line.empty() && !parseLine(line, loaded, timeMs))
            return false;
    memory = loaded;
    return true;
}

std::optional<std::string> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace sim
