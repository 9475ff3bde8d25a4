#include "files/Scrambling.h"

namespace files {

std::vector<uint8_t> Scramble(const std::vector<uint8_t>& plain) {
    std::vector<uint8_t> stored(plain.size());
    for (size_t i = 0; i < plain.size(); ++i) {
        const uint8_t before = plain[i == 0 ? plain.size() - 1 : i - 1];
        stored[i] = static_cast<uint8_t>((plain[i] >> 2) | ((before & 0x03) << 6));
    }
    return stored;
}

std::vector<uint8_t> Unscramble(const std::vector<uint8_t>& stored) {
    std::vector<uint8_t> plain(stored.size());
    for (size_t i = 0; i < stored.size(); ++i) {
        const uint8_t after = stored[i + 1 == stored.size() ? 0 : i + 1];
        plain[i] = static_cast<uint8_t>(((stored[i] << 2) & 0xFF) | (after >> 6));
    }
    return plain;
}

}  // namespace files
