#pragma once

#include <cstdint>
#include <string>

#include "sim/RegisterBank.h"

namespace sim {

// Whether the sensor streams its position at `baudRate` with the parameters in
// `bank`: the Measurement field's bit 0 is set and the line runs at 38400 or 115200 baud.
bool streamsAt(const RegisterBank& bank, int baudRate);

// One record of the stream: eight upper-case hex digits and a carriage return.
// The digits hold the position in counts plus the offset as the SSI word of
// BitWidth bits, in the top bits of 32, so that a reader shifting right
// arithmetically by 32 - BitWidth gets the signed counts back. With the
// temperature bit of the output flags, the top byte holds `temperatureC` and
// the 24 bits below it the signed counts.
std::string streamRecord(const RegisterBank& bank, int positionUm, int temperatureC);

}  // namespace sim
