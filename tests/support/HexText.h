#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace testsupport {

// One Intel HEX data line with its checksum.
inline std::string hexLine(uint16_t address, const std::vector<uint8_t>& data, uint8_t type = 0) {
    std::vector<uint8_t> bytes = {uint8_t(data.size()), uint8_t(address >> 8), uint8_t(address),
                                  type};
    bytes.insert(bytes.end(), data.begin(), data.end());
    unsigned sum = 0;
    for (const uint8_t b : bytes)
        sum += b;
    bytes.push_back(uint8_t(-sum));
    std::string line = ":";
    for (const uint8_t b : bytes) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", b);
        line += digits;
    }
    return line;
}

// Data bytes 0, 1, 2 ... (mod 251, so that pages differ).
inline std::vector<uint8_t> countingBytes(size_t count) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i)
        bytes[i] = uint8_t(i % 251);
    return bytes;
}

// A HEX file of the data in lines of up to 16 bytes from `address`, ended by its end record.
inline std::string hexFile(const std::vector<uint8_t>& data, uint16_t address = 0) {
    std::string text;
    for (size_t at = 0; at < data.size(); at += 16) {
        const size_t n = std::min<size_t>(16, data.size() - at);
        text += hexLine(uint16_t(address + at), std::vector<uint8_t>(data.begin() + long(at),
                                                                     data.begin() + long(at + n))) +
                "\r\n";
    }
    return text + ":00000001FF\r\n";
}

}  // namespace testsupport
