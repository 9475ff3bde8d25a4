#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "firmware/ImageError.h"

namespace firmware {

// A line holds at most 16 data bytes: count, address, type, data and checksum.
inline constexpr size_t MaxHexDigits = 42;

enum class RecordType : uint8_t {
    Data = 0x00,
    EndOfFile = 0x01,
    ExtendedSegmentAddress = 0x02,
    StartSegmentAddress = 0x03,
    ExtendedLinearAddress = 0x04,
    StartLinearAddress = 0x05,
};

// One processed line of an Intel HEX file: all its bytes, count to checksum.
struct HexLine {
    int lineNumber = 0;  // in the file, from 1
    std::vector<uint8_t> bytes;

    uint16_t address() const;
    RecordType type() const;
    std::span<const uint8_t> data() const;
    bool checksumValid() const;
};

struct HexFile {
    std::vector<HexLine> lines;  // up to the end-of-file record, without it
    ImageError error = ImageError::None;
    int errorLine = 0;
};

// Reads the lines up to the end-of-file record. A line's length comes from its
// count, and a character that is no hexadecimal digit counts as 0. Refuses a
// line without its colon, a line of more than 42 digits or 16 data bytes, a
// file without a data line and a file without its end-of-file record.
// CR, LF and CR LF each end a line.
HexFile parseHexFile(std::string_view text);

}  // namespace firmware
