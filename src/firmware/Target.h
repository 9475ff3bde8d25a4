#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace firmware {

enum class Microcontroller { ATMega8, ATMega8515, ATMega162 };

// Which page records the image is built for. The ATMega8's identification sets
// none and keeps the layout of an earlier identification.
enum class RecordLayout { Unset, Records64, Records128 };

inline constexpr int FlashPageCount = 128;

// The microcontroller behind the bootloader, as its last identification described it.
struct TargetDescription {
    Microcontroller chip = Microcontroller::ATMega8515;
    int pageSize = 64;  // P, bytes of data per record
    int bootUnit = 2;
    RecordLayout layout = RecordLayout::Unset;
    int recordSize = 67;  // P + 3
    int applicationPages = 0;
};

struct ChipInfo {
    char code;
    Microcontroller chip;
    const char* name;  // "ATMega8515"
    int pageSize;
    int bootUnit;
    RecordLayout layout;
};

struct BootloaderInfo {
    char code;
    int words;
    int bootUnits;   // the bootloader's pages are this many boot units
    int subtrahend;  // K of the application size shown
};

std::optional<ChipInfo> chipByCode(uint8_t code);
std::optional<ChipInfo> chipByName(const std::string& name);  // any case
std::optional<BootloaderInfo> bootloaderByCode(uint8_t code);
std::optional<BootloaderInfo> bootloaderByWords(int words);

// The words an application may take, as the identification shows them.
int applicationWords(int pageSize, int applicationPages, const BootloaderInfo& bootloader);

// What the two identification bytes make of the target; false when the first
// byte names no microcontroller. The record size follows the page size.
bool identifyTarget(uint8_t chipCode, uint8_t bootloaderCode, TargetDescription& target);

}  // namespace firmware
