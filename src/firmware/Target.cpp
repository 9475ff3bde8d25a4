#include "firmware/Target.h"

#include <algorithm>
#include <cctype>

namespace firmware {

namespace {

constexpr ChipInfo kChips[] = {
    {'A', Microcontroller::ATMega8, "ATMega8", 64, 2, RecordLayout::Unset},
    {'B', Microcontroller::ATMega8515, "ATMega8515", 64, 2, RecordLayout::Records64},
    {'C', Microcontroller::ATMega162, "ATMega162", 128, 1, RecordLayout::Records128},
};

constexpr BootloaderInfo kBootloaders[] = {
    {'X', 256, 4, 372},
    {'Y', 512, 8, 360},
    {'Z', 1024, 16, 336},
};

constexpr int kRecordOverhead = 3;  // two address bytes and the checksum

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

}  // namespace

std::optional<ChipInfo> chipByCode(uint8_t code) {
    for (const ChipInfo& chip : kChips) {
        if (uint8_t(chip.code) == code)
            return chip;
    }
    return std::nullopt;
}

std::optional<ChipInfo> chipByName(const std::string& name) {
    for (const ChipInfo& chip : kChips) {
        if (lower(chip.name) == lower(name))
            return chip;
    }
    return std::nullopt;
}

std::optional<BootloaderInfo> bootloaderByCode(uint8_t code) {
    for (const BootloaderInfo& bootloader : kBootloaders) {
        if (uint8_t(bootloader.code) == code)
            return bootloader;
    }
    return std::nullopt;
}

std::optional<BootloaderInfo> bootloaderByWords(int words) {
    for (const BootloaderInfo& bootloader : kBootloaders) {
        if (bootloader.words == words)
            return bootloader;
    }
    return std::nullopt;
}

int applicationWords(int pageSize, int applicationPages, const BootloaderInfo& bootloader) {
    return ((pageSize + kRecordOverhead) * applicationPages - bootloader.subtrahend) >> 1;
}

bool identifyTarget(uint8_t chipCode, uint8_t bootloaderCode, TargetDescription& target) {
    const auto chip = chipByCode(chipCode);
    if (!chip)
        return false;
    target.chip = chip->chip;
    target.pageSize = chip->pageSize;
    target.bootUnit = chip->bootUnit;
    if (chip->layout != RecordLayout::Unset)
        target.layout = chip->layout;
    if (const auto bootloader = bootloaderByCode(bootloaderCode))
        target.applicationPages = FlashPageCount - bootloader->bootUnits * chip->bootUnit;
    target.recordSize = chip->pageSize + kRecordOverhead;
    return true;
}

}  // namespace firmware
