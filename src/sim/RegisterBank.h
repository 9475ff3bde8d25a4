#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "sim/SensorTypes.h"

namespace sim {

inline constexpr const char* kStartPointRead = "YA00000000";
inline constexpr const char* kEndPointRead = "YA80000000";
inline constexpr const char* kSecondErrorRead = "YA30000000";
inline constexpr uint32_t kNoEndPoint = 0x1FFFFFF;

// One copy of the sensor's parameter set: working memory, the EEPROM copy and
// the factory set each hold one.
struct RegisterBank {
    // Numeric words by read command: "AA" ... "ZA" and the three "YA" sub-addresses.
    // Decimal registers (AA, UA) hold their number.
    std::map<std::string, uint32_t> words;
    std::string la;  // two model letters and four length characters
    std::string fa;  // eight characters

    bool operator==(const RegisterBank&) const = default;
};

// How a word that has a plain xA read and xN write is put on the wire.
struct WordFormat {
    bool decimal = false;
    int digits = 6;
};

// The format of the plain words ("AA", "DA", ... "ZA"; not LA, FA, VA, TA or the
// sub-addressed reads); the RA word has 8 digits on firmware type 39606.
std::optional<WordFormat> plainWordFormat(std::string_view readCommand, int firmwareVersion);

int firmwareType(int firmwareVersion);

// The four length characters of the LA word: four digits, or above 9999 three
// digits and C (for a final 50) or F (for a final 00).
std::string lengthCode(int lengthMm);
bool isLengthCode(std::string_view text);

// A consistent parameter set for the configured sensor, with `config.words` applied last.
RegisterBank makeBank(const SensorConfig& config);

}  // namespace sim
