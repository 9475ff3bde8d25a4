#pragma once

#include <cstdint>

// The bit width's field of the sensor's DA word.
inline constexpr uint32_t BitWidthMask = 0xFF;
