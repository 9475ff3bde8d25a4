#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace testmode {

// The sensor streams records of eight hex digits and a carriage return; the
// program reads them in blocks of this many bytes.
inline constexpr size_t BlockLength = 17;
inline constexpr size_t RecordDigits = 8;

// The record inside a block, found by the block's first carriage return: the
// eight characters before it when it is at 1-based position 9 or later, the
// eight after it when it is at 1 to 8, and the whole block when there is none.
std::string_view FrameRecord(std::string_view block);

struct StreamFormat {
    bool temperatureBit = false;  // the top byte carries the temperature
    int bitWidth = 32;            // significant bits of the word otherwise
    int32_t resolution = 1;       // position units per count
    bool halfMicrometres = false;
};

struct Sample {
    int32_t position = 0;  // position units: micrometres or half micrometres
    std::optional<int8_t> temperature;
};

// What a block carried: a position, the sensor's error value (the word it sends
// when it cannot measure), or a record that is not eight hex digits.
enum class SampleKind : uint8_t { Position, ErrorValue, Undecoded };

struct Reading {
    Sample sample;
    std::string record;  // the eight characters the sample was decoded from
    uint32_t word = 0;
    SampleKind kind = SampleKind::Position;
    int64_t timeMs = 0;  // on the link's clock
};

// The word's position in counts and, with the temperature bit, its temperature.
Sample DecodeWord(uint32_t word, const StreamFormat& format);
// One block of BlockLength bytes, framed, converted and scaled by the resolution.
Sample DecodeBlock(std::string_view block, const StreamFormat& format);
// True when the record is eight hex digits, in either case.
bool IsHexRecord(std::string_view record);

double Millimetres(int32_t position, bool halfMicrometres);
double Micrometres(int32_t position, bool halfMicrometres);
// General format with at most 10 significant digits and no trailing zeros.
std::string MillimetreText(double millimetres, char decimalSeparator = '.');

}  // namespace testmode
