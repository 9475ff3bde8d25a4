#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "firmware/ImageError.h"

namespace firmware {

// A line holds at most 16 data bytes: count, address, type, data and checksum.
inline constexpr size_t MaxHexDigits = 42;

// One processed line of an Intel HEX file: all its bytes, count to checksum.
struct HexLine {
    int lineNumber = 0;  // in the file, from 1
    std::vector<uint8_t> bytes;

    uint16_t address() const;
    std::span<const uint8_t> data() const;
    bool checksumValid() const;
};

struct HexFile {
    std::vector<HexLine> lines;
    ImageError error = ImageError::None;
    int errorLine = 0;
};

// Reads every line but the last, which ends the file. A line's length comes from
// the low digit of its count (0 stands for 16); its type is not looked at, and a
// character that is no hexadecimal digit counts as 0. Refuses a line without its
// colon, a line of more than 42 digits, and a file without a data line.
HexFile parseHexFile(std::string_view text);

}  // namespace firmware
