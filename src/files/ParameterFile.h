#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The parameter file (.kyr): a length-prefixed header text, the date of saving,
// the size of the register table and the values of its first registers, all
// little-endian, stored scrambled.
namespace files {

// The first characters of every header; the one mark of the format.
inline constexpr std::string_view FormatMark = "KYR Q-Serie SSI";
// 37 registers of 24 bytes, although only the first ones are stored.
inline constexpr uint32_t FullSetSize = 888;
inline constexpr size_t LargestFile = 65535;
inline constexpr uint32_t LargestHeader = 65535;
inline constexpr int LargestValueCount = 37;

struct SaveDate {
    uint32_t year = 0;
    uint8_t month = 0;
    uint8_t day = 0;

    bool operator==(const SaveDate&) const = default;
};

struct ParameterFile {
    std::string header;  // Windows-1252
    SaveDate date;
    uint32_t setSize = FullSetSize;
    std::vector<int32_t> values;  // registers 0 to N - 1, N as ValueCount gives it

    bool operator==(const ParameterFile&) const = default;
};

enum class FileProblem { None, TooBig, ErrorInFile, NotCompatible };

struct DecodedFile {
    std::optional<ParameterFile> file;
    FileProblem problem = FileProblem::None;  // set when file is empty
};

// How many values a file with this set size holds; negative for a set size below 192.
int64_t ValueCount(uint32_t setSize);

// The stored bytes; the values are written as given, whatever the set size says.
std::vector<uint8_t> EncodeParameterFile(const ParameterFile& file);
// Refuses a file that is too big, whose fields run past its end, whose set size
// holds fewer than 0 or more than 37 values, or whose header lacks the mark.
DecodedFile DecodeParameterFile(const std::vector<uint8_t>& stored);

// 2014-03-07: the year, then month and day with two digits each.
std::string DateText(const SaveDate& date);

}  // namespace files
