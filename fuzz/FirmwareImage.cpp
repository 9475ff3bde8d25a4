// The image builder. The first byte picks the target (ATMega8515 or ATMega162,
// each with one of the three bootloader sizes); the rest is the HEX file. An
// image it builds fits its buffer, holds whole pages and carries the sum of
// each page's data after it.
#include <cstdlib>
#include <string_view>

#include "firmware/FirmwareImage.h"

namespace {

firmware::TargetDescription targetFor(uint8_t choice) {
    firmware::TargetDescription target;
    const char chips[] = {'B', 'C'};
    const char sizes[] = {'X', 'Y', 'Z'};
    firmware::identifyTarget(uint8_t(chips[choice % 2]), uint8_t(sizes[choice / 2 % 3]), target);
    return target;
}

void check(const firmware::FirmwareImage& image) {
    if (image.records.size() != size_t(image.length()) ||
        image.records.size() > firmware::ImageBufferSize ||
        image.bytesTotal > image.bytesToWrite() || image.bytesTotal == 0 || image.pages == 0)
        std::abort();
    for (int k = 0; k < image.pages; ++k) {
        const auto record = image.record(k);
        uint8_t sum = 0;
        for (size_t i = 2; i + 1 < record.size(); ++i)
            sum = uint8_t(sum + record[i]);
        if (sum != record.back())
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const firmware::ImageBuild build = firmware::loadImage(
        std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1), targetFor(data[0]));
    if (build.error == firmware::ImageError::None)
        check(build.image);
    return 0;
}
