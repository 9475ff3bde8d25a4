#include "firmware/FirmwareImage.h"

#include <algorithm>

namespace firmware {

namespace {

constexpr uint8_t kFill = 0xFF;
constexpr int kSegmentShift = 4;
constexpr int kLinearShift = 16;

// The data of one data record at its address with the base applied.
struct Chunk {
    long address;
    std::span<const uint8_t> data;
    int lineNumber;

    long end() const { return address + long(data.size()); }
};

struct Chunks {
    std::vector<Chunk> chunks;
    std::vector<int> badChecksumLines;
    ImageError error = ImageError::None;
    int errorLine = 0;
};

long baseOf(const HexLine& line, int shift) {
    const auto data = line.data();
    const long value = data.size() < 2 ? 0 : long(data[0]) << 8 | data[1];
    return value << shift;
}

long applicationBytes(const TargetDescription& target) {
    return long(target.applicationPages) * target.pageSize;
}

Chunks collect(const std::vector<HexLine>& lines, const TargetDescription& target) {
    Chunks found;
    long base = 0;
    for (const HexLine& line : lines) {
        if (!line.checksumValid())
            found.badChecksumLines.push_back(line.lineNumber);
        switch (line.type()) {
            case RecordType::Data:
                if (!line.data().empty())
                    found.chunks.push_back({base + line.address(), line.data(), line.lineNumber});
                continue;
            case RecordType::ExtendedSegmentAddress:
                base = baseOf(line, kSegmentShift);
                break;
            case RecordType::ExtendedLinearAddress:
                base = baseOf(line, kLinearShift);
                break;
            case RecordType::StartSegmentAddress:
            case RecordType::StartLinearAddress:
                continue;
            default:
                found.error = ImageError::UnknownRecordType;
                found.errorLine = line.lineNumber;
                return found;
        }
        // A base of 0 is what a plain file means, whatever the area.
        if (base != 0 && base >= applicationBytes(target)) {
            found.error = ImageError::AddressBeyondArea;
            found.errorLine = line.lineNumber;
            return found;
        }
    }
    return found;
}

// The first record that overlaps another or takes the image beyond the buffer,
// in address order; the line named is the later one in the file.
std::pair<ImageError, int> firstMisfit(const std::vector<Chunk>& sorted, int pageSize) {
    const long capacity = long(ImageBufferSize) / (pageSize + 3) * pageSize;
    for (size_t i = 0; i < sorted.size(); ++i) {
        if (i > 0 && sorted[i].address < sorted[i - 1].end())
            return {ImageError::Overlap, std::max(sorted[i].lineNumber, sorted[i - 1].lineNumber)};
        if (sorted[i].end() - sorted.front().address > capacity)
            return {ImageError::BufferFull, sorted[i].lineNumber};
    }
    return {ImageError::None, 0};
}

void writeRecords(const std::vector<Chunk>& sorted, FirmwareImage& image) {
    const long first = sorted.front().address;
    const long span = sorted.back().end() - first;
    image.pages = int((span + image.pageSize - 1) / image.pageSize);
    std::vector<uint8_t> flash(size_t(image.pages) * size_t(image.pageSize), kFill);
    for (const Chunk& chunk : sorted) {
        std::copy(chunk.data.begin(), chunk.data.end(), flash.begin() + (chunk.address - first));
        image.bytesTotal += int(chunk.data.size());
    }
    image.firstAddress = int(first);
    for (int k = 0; k < image.pages; ++k) {
        const auto address = uint16_t(first + long(k) * image.pageSize);
        image.records.push_back(uint8_t(address >> 8));
        image.records.push_back(uint8_t(address & 0xFF));
        uint8_t checksum = 0;
        for (int i = 0; i < image.pageSize; ++i) {
            const uint8_t byte = flash[size_t(k) * size_t(image.pageSize) + size_t(i)];
            image.records.push_back(byte);
            checksum = uint8_t(checksum + byte);
        }
        image.records.push_back(checksum);
    }
}

ImageBuild stopped(ImageError error, int line, std::vector<int> badLines) {
    return {{}, std::move(badLines), error, line};
}

}  // namespace

std::span<const uint8_t> FirmwareImage::record(int index) const {
    return std::span(records).subspan(size_t(index) * size_t(recordSize()), size_t(recordSize()));
}

bool FirmwareImage::fits(const TargetDescription& target) const {
    return long(firstAddress) + long(pages) * pageSize <= applicationBytes(target);
}

ImageBuild buildImage(const std::vector<HexLine>& lines, const TargetDescription& target) {
    if (lines.empty())
        return stopped(ImageError::NoDataLine, 1, {});
    if (target.layout == RecordLayout::Unset)
        return stopped(ImageError::LayoutUnset, lines.front().lineNumber, {});
    Chunks found = collect(lines, target);
    if (found.error != ImageError::None)
        return stopped(found.error, found.errorLine, found.badChecksumLines);
    if (found.chunks.empty())
        return stopped(ImageError::NoDataLine, lines.front().lineNumber, found.badChecksumLines);
    std::stable_sort(found.chunks.begin(), found.chunks.end(),
                     [](const Chunk& a, const Chunk& b) { return a.address < b.address; });
    const auto [misfit, line] = firstMisfit(found.chunks, target.pageSize);
    if (misfit != ImageError::None)
        return stopped(misfit, line, found.badChecksumLines);
    ImageBuild build;
    build.image.pageSize = target.pageSize;
    writeRecords(found.chunks, build.image);
    build.badChecksumLines = std::move(found.badChecksumLines);
    return build;
}

ImageBuild loadImage(std::string_view hexText, const TargetDescription& target) {
    const HexFile file = parseHexFile(hexText);
    if (file.error != ImageError::None)
        return stopped(file.error, file.errorLine, {});
    return buildImage(file.lines, target);
}

}  // namespace firmware
