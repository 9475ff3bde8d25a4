#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "firmware/Target.h"

// The target that a chip's two identification codes ("BX", "AH" ...) describe.
inline firmware::TargetDescription target(const char* codes) {
    firmware::TargetDescription described;
    EXPECT_TRUE(firmware::identifyTarget(uint8_t(codes[0]), uint8_t(codes[1]), described));
    return described;
}
