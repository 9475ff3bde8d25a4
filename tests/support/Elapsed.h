#pragma once

#include <chrono>
#include <cstdint>

namespace testsupport {

// Milliseconds of the steady clock since `start`.
inline int64_t msSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

}  // namespace testsupport
