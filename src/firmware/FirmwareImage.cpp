#include "firmware/FirmwareImage.h"

namespace firmware {

namespace {

constexpr uint8_t kFill = 0xFF;

// Appends data bytes to the open record and closes each record when its page is full.
class RecordWriter {
public:
    RecordWriter(FirmwareImage& image, uint16_t address) : image_(image), address_(address) {}

    bool fits(size_t dataBytes) const {
        const size_t used = size_t(image_.bytesTotal) + dataBytes;
        const size_t pages = (used + size_t(image_.pageSize) - 1) / size_t(image_.pageSize);
        return pages * size_t(image_.recordSize()) <= ImageBufferSize;
    }

    void append(uint8_t byte) {
        put(byte);
        ++image_.bytesTotal;
    }

    void fillLastPage() {
        while (filled_ != 0)
            put(kFill);
    }

private:
    void put(uint8_t byte) {
        if (filled_ == 0)
            open();
        image_.records.push_back(byte);
        checksum_ = uint8_t(checksum_ + byte);
        if (++filled_ == image_.pageSize)
            close();
    }

    void open() {
        image_.records.push_back(uint8_t(address_ >> 8));
        image_.records.push_back(uint8_t(address_ & 0xFF));
        address_ = uint16_t(address_ + image_.pageSize);
        checksum_ = 0;
        ++image_.pages;
    }

    void close() {
        image_.records.push_back(checksum_);
        filled_ = 0;
    }

    FirmwareImage& image_;
    uint16_t address_;
    uint8_t checksum_ = 0;
    int filled_ = 0;
};

ImageBuild stopped(ImageError error, int line, std::vector<int> badLines) {
    return {{}, std::move(badLines), error, line};
}

}  // namespace

std::span<const uint8_t> FirmwareImage::record(int index) const {
    return std::span(records).subspan(size_t(index) * size_t(recordSize()), size_t(recordSize()));
}

ImageBuild buildImage(const std::vector<HexLine>& lines, const TargetDescription& target) {
    ImageBuild build;
    if (lines.empty())
        return stopped(ImageError::NoDataLine, 1, {});
    if (target.layout == RecordLayout::Unset)
        return stopped(ImageError::LayoutUnset, lines.front().lineNumber, {});
    build.image.pageSize = target.pageSize;
    RecordWriter writer(build.image, lines.front().address());
    for (const HexLine& line : lines) {
        if (!writer.fits(line.data().size()))
            return stopped(ImageError::BufferFull, line.lineNumber, build.badChecksumLines);
        for (const uint8_t byte : line.data())
            writer.append(byte);
        if (!line.checksumValid())
            build.badChecksumLines.push_back(line.lineNumber);
    }
    writer.fillLastPage();
    return build;
}

ImageBuild loadImage(std::string_view hexText, const TargetDescription& target) {
    const HexFile file = parseHexFile(hexText);
    if (file.error != ImageError::None)
        return stopped(file.error, file.errorLine, {});
    return buildImage(file.lines, target);
}

}  // namespace firmware
