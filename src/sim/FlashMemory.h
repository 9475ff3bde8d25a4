#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace sim {

// The microcontroller's program memory, named by the two identification bytes
// its bootloader sends: 'A' ATMega8, 'B' ATMega8515, 'C' ATMega162, then the
// bootloader's size 'X' 256, 'Y' 512, 'Z' 1024 words.
class FlashMemory {
public:
    static constexpr int kPages = 128;

    // "BX" and the like; nullopt for a chip the sensors do not carry.
    static std::optional<FlashMemory> forChip(const std::string& chip);

    const std::string& chip() const { return chip_; }
    int pageSize() const { return pageSize_; }
    // Pages below the bootloader section.
    int applicationPages() const { return kPages - bootPages_; }

    std::span<const uint8_t> page(int index) const;
    void writePage(int index, std::span<const uint8_t> data);
    bool erased(int index) const;

private:
    FlashMemory(std::string chip, int pageSize, int bootPages);

    std::string chip_;
    int pageSize_;
    int bootPages_;
    std::vector<uint8_t> bytes_;
};

}  // namespace sim
