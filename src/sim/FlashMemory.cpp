#include "sim/FlashMemory.h"

#include <algorithm>

namespace sim {

namespace {

constexpr uint8_t kErased = 0xFF;

struct Chip {
    char code;
    int pageSize;
    int bootUnit;
};
constexpr Chip kChips[] = {{'A', 64, 2}, {'B', 64, 2}, {'C', 128, 1}};

struct BootSize {
    char code;
    int bootUnits;
};
constexpr BootSize kBootSizes[] = {{'X', 4}, {'Y', 8}, {'Z', 16}};

}  // namespace

std::optional<FlashMemory> FlashMemory::forChip(const std::string& chip) {
    if (chip.size() != 2)
        return std::nullopt;
    const auto* c = std::find_if(std::begin(kChips), std::end(kChips),
                                 [&](const Chip& row) { return row.code == chip[0]; });
    const auto* b = std::find_if(std::begin(kBootSizes), std::end(kBootSizes),
                                 [&](const BootSize& row) { return row.code == chip[1]; });
    if (c == std::end(kChips) || b == std::end(kBootSizes))
        return std::nullopt;
    return FlashMemory(chip, c->pageSize, b->bootUnits * c->bootUnit);
}

FlashMemory::FlashMemory(std::string chip, int pageSize, int bootPages)
    : chip_(std::move(chip)),
      pageSize_(pageSize),
      bootPages_(bootPages),
      bytes_(size_t(kPages * pageSize), kErased) {}

std::span<const uint8_t> FlashMemory::page(int index) const {
    return std::span(bytes_).subspan(size_t(index * pageSize_), size_t(pageSize_));
}

void FlashMemory::writePage(int index, std::span<const uint8_t> data) {
    std::copy(data.begin(), data.end(), bytes_.begin() + index * pageSize_);
}

bool FlashMemory::erased(int index) const {
    const auto p = page(index);
    return std::all_of(p.begin(), p.end(), [](uint8_t b) { return b == kErased; });
}

}  // namespace sim
