#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "firmware/HexFile.h"
#include "firmware/ImageError.h"
#include "firmware/Target.h"

namespace firmware {

inline constexpr size_t ImageBufferSize = 25348;

// Page records one after another: address high and low byte, one page of data,
// and the sum of the data bytes modulo 256.
struct FirmwareImage {
    std::vector<uint8_t> records;
    int pageSize = 64;
    int pages = 0;       // ImagePages; 0 means no file is loaded
    int bytesTotal = 0;  // data bytes taken from the file
    int firstAddress = 0;

    int recordSize() const { return pageSize + 3; }
    int length() const { return pages * recordSize(); }  // ImageLength
    int bytesToWrite() const { return pages * pageSize; }
    std::span<const uint8_t> record(int index) const;
    // Whether the last page ends inside the target's application area.
    bool fits(const TargetDescription& target) const;
};

struct ImageBuild {
    FirmwareImage image;
    std::vector<int> badChecksumLines;  // kept in the image all the same
    ImageError error = ImageError::None;
    int errorLine = 0;
};

// Pages of the target's page size from the lowest data address on, in address
// order; gaps and the end of the last page are filled with FF. Extended segment
// and linear address records set the base of the data records that follow and
// must point into the application area; start address records are ignored.
// Refuses to build without a record layout, refuses overlapping records and
// record types it does not know, and stops at the record whose data would not
// fit the buffer, before storing any of it.
ImageBuild buildImage(const std::vector<HexLine>& lines, const TargetDescription& target);

// Both steps: the file's text into an image for the target.
ImageBuild loadImage(std::string_view hexText, const TargetDescription& target);

}  // namespace firmware
