#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The number formats of the command protocol: upper-case hexadecimal and
// decimal digits of a fixed width, zero-padded on the left.
namespace sim::wiretext {

// The low 4 × digits bits of `value` as upper-case hexadecimal.
std::string hex(uint32_t value, int digits);
std::string decimal(uint32_t value, int digits);

// Exactly the given text as upper-case hexadecimal (1 to 8 digits), or nothing.
std::optional<uint32_t> parseHex(std::string_view text);
// Exactly the given text as decimal digits (1 to 9 digits), or nothing.
std::optional<uint32_t> parseDecimal(std::string_view text);

// The low 24 bits of `value` as a signed number.
int32_t signExtend24(uint32_t value);

}  // namespace sim::wiretext
