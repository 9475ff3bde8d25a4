#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Parameter files are stored rotated by two bits over their whole length, taken
// as one string of bits, most significant bit of each byte first.
namespace files {

// Plain bytes to stored bytes: rotated right by two bits.
std::vector<uint8_t> Scramble(const std::vector<uint8_t>& plain);
// Stored bytes to plain bytes: rotated left by two bits.
std::vector<uint8_t> Unscramble(const std::vector<uint8_t>& stored);

}  // namespace files
