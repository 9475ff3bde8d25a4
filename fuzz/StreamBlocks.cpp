// The sensor's test stream: blocks of 17 bytes as the program reads them, each
// framed, decoded and followed by the chart's axis. The first bytes pick the format.
#include <cstdlib>
#include <string_view>

#include "testmode/AxisRange.h"
#include "testmode/StreamDecoding.h"

namespace {

testmode::StreamFormat FormatFrom(const uint8_t* bytes) {
    testmode::StreamFormat format;
    format.temperatureBit = (bytes[0] & 1) != 0;
    format.halfMicrometres = (bytes[0] & 2) != 0;
    format.bitWidth = bytes[1];
    format.resolution = static_cast<int8_t>(bytes[2]);
    return format;
}

void CheckFraming(std::string_view block) {
    const std::string_view record = testmode::FrameRecord(block);
    const bool inside = record.data() >= block.data() &&
                        record.data() + record.size() <= block.data() + block.size();
    if (!inside || (record.size() > testmode::RecordDigits && record.size() != block.size())) {
        std::abort();
    }
}

// Away from the ends of 32 bits, where the margins wrap, the range only widens.
void FollowAxis(testmode::AxisRange& axis, int32_t position) {
    constexpr int32_t Safe = 1 << 30;
    const int32_t minimum = axis.Minimum();
    const int32_t maximum = axis.Maximum();
    axis.Follow(position);
    const bool wasSet = minimum != testmode::AxisRange::UnsetMinimum;
    if (wasSet && position > -Safe && position < Safe &&
        (axis.Minimum() > minimum || axis.Maximum() < maximum)) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr size_t FormatBytes = 3;
    if (size < FormatBytes) {
        return 0;
    }
    const testmode::StreamFormat format = FormatFrom(data);
    testmode::AxisRange axis;
    for (size_t at = FormatBytes; at + testmode::BlockLength <= size; at += testmode::BlockLength) {
        const std::string_view block(reinterpret_cast<const char*>(data + at),
                                     testmode::BlockLength);
        CheckFraming(block);
        const testmode::Sample sample = testmode::DecodeBlock(block, format);
        if (sample.temperature.has_value() != format.temperatureBit) {
            std::abort();
        }
        FollowAxis(axis, sample.position);
        testmode::MillimetreText(testmode::Millimetres(sample.position, format.halfMicrometres));
    }
    return 0;
}
