#include "sim/RegisterBank.h"

#include <algorithm>
#include <cctype>

#include "sim/WireText.h"

namespace sim {

namespace {

constexpr uint32_t kUltrasonicSpeed = 277695;  // cm/s
constexpr uint32_t kSyncTiming = 956;
constexpr uint32_t kJitterWindow = 50;
constexpr uint32_t kCycleTime = 1667;
constexpr uint32_t kUartCounter = 50;
constexpr uint32_t kMonoflopTime = 32;
constexpr uint32_t kPowerfailTime = 1;
constexpr uint32_t kChargepump = 1;
constexpr uint32_t kSsiSampleTime = 250;
constexpr uint32_t kBlanking = 200;  // quarter microseconds

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string factoryNumberText(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    if (text.size() < 8)
        text.insert(0, 8 - text.size(), '0');
    return text.substr(text.size() - 8);
}

// Gray code, one error before indication, data width 25.
uint32_t defaultDaWord() {
    return 1u << 17 | 1u << 8 | 25u;
}

uint32_t defaultRaWord(int firmwareVersion, bool linearization) {
    const int type = firmwareType(firmwareVersion);
    if (type == 39606)
        return kSsiSampleTime << 16 | uint32_t(linearization) << 8 | kPowerfailTime;
    if (type == 39602 && firmwareVersion > 3960202)
        return kSsiSampleTime << 8 | kPowerfailTime;
    return kPowerfailTime;
}

uint32_t scaleFor(int resolutionUm) {
    const uint64_t resolution = uint64_t(std::max(resolutionUm, 1));
    return uint32_t(uint64_t(kUltrasonicSpeed) * 512 / (100 * resolution)) & 0xFFFFFF;
}

}  // namespace

int firmwareType(int firmwareVersion) {
    return firmwareVersion / 100;
}

std::optional<WordFormat> plainWordFormat(std::string_view readCommand, int firmwareVersion) {
    if (readCommand == "AA")
        return WordFormat{true, 8};
    if (readCommand == "UA")
        return WordFormat{true, 6};
    if (readCommand == "PA" || readCommand == "WA")
        return WordFormat{false, 8};
    if (readCommand == "RA")
        return WordFormat{false, firmwareType(firmwareVersion) == 39606 ? 8 : 6};
    for (std::string_view word : {"DA", "JA", "KA", "MA", "NA", "OA", "SA", "ZA"})
        if (readCommand == word)
            return WordFormat{false, 6};
    return std::nullopt;
}

std::string lengthCode(int lengthMm) {
    if (lengthMm < 10000)
        return wiretext::decimal(uint32_t(std::max(lengthMm, 0)), 4);
    const std::string digits = std::to_string(lengthMm);
    return digits.substr(0, 3) + (digits[3] == '5' ? 'C' : 'F');
}

bool isLengthCode(std::string_view text) {
    if (text.size() != 4 || !std::all_of(text.begin(), text.begin() + 3, isDigit))
        return false;
    return isDigit(text[3]) || text[3] == 'C' || text[3] == 'F';
}

RegisterBank makeBank(const SensorConfig& config) {
    RegisterBank bank;
    bank.words = {
        {"AA", uint32_t(config.resolutionUm)},
        {"DA", defaultDaWord()},
        {"JA", kChargepump},
        {"KA", 1},  // position measuring, one position, no flags
        {"MA", kSyncTiming << 8 | kJitterWindow},
        {"NA", 0},
        {"OA", kMonoflopTime},
        {"PA", 0},
        {"RA", defaultRaWord(config.firmwareVersion, config.linearizationTable)},
        {"SA", scaleFor(config.resolutionUm)},
        {"UA", kUltrasonicSpeed},
        {"WA", kBlanking},
        {"ZA", kCycleTime << 8 | kUartCounter},
        {kStartPointRead, 0},
        {kEndPointRead, kNoEndPoint},
        {kSecondErrorRead, 1},  // second error value inactive
    };
    bank.la = config.model.substr(0, 2) + lengthCode(config.lengthMm);
    bank.fa = factoryNumberText(config.factoryNumber);
    for (const auto& [name, value] : config.words)
        bank.words[name] = value;
    return bank;
}

}  // namespace sim
