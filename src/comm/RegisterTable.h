#pragma once

#include <cstdint>
#include <string>

#include "comm/ParameterSet.h"

namespace comm {

// How a register's reply is read and its value is written.
enum class Encoding {
    Hex,          // hexadecimal word, field cut out by mask and shift
    Decimal,      // decimal number as a whole
    Signed24,     // six hexadecimal digits, two's complement
    LengthWord,   // the LA word: two model letters and the length code
    Text,         // the reply text itself
    PrefixedHex,  // hexadecimal, read as a whole without mask and shift
    None,         // filled by other registers' reads
};

struct RegisterInfo {
    const char* key;
    const char* readCommand;
    const char* writeCommand;
    uint32_t mask;
    uint8_t shift;
    int replyChars;
    Encoding encoding;
    int64_t min;  // the smallest value a user may set
    int64_t max;  // the largest; for a text, its number of characters
    const char* unit;
    bool writable;
};

const RegisterInfo& registerInfo(ParameterSet::RegisterIndex r);

// Whether a received reply can be decoded for the register at all; a reply that
// cannot is treated like one that never arrived.
bool replyFits(ParameterSet::RegisterIndex r, const std::string& reply);

// Decimal text as a whole: digits with an optional minus sign, within 32 bits.
bool parseDecimal(const std::string& text, int32_t& value);

// Characters 3 to 6 of the LA word as a length in mm; false when they are no length code.
bool decodeLengthCode(const std::string& laWord, int32_t& value);

// The length characters for a length in mm; empty when the length has no code.
std::string encodeLengthCode(int32_t length);

bool isModelLetter(int c);
bool isTextChar(int c);

}  // namespace comm
