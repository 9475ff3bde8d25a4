#include "comm/SensorRules.h"

#include <array>
#include <charconv>

#include "comm/Ssicom.h"

namespace rules {

namespace {

constexpr int32_t Letters(char first, char second) {
    return static_cast<int32_t>(first) * 256 + static_cast<int32_t>(second);
}

struct ModelRow {
    int32_t letters;
    ModelCode code;
};

const std::array<ModelRow, 10>& ModelTable() {
    static const std::array<ModelRow, 10> table{{
        {Letters('Q', 'H'), {"QH", SensorFamily::QSeries, 0}},
        {Letters('Q', 'P'), {"QP", SensorFamily::QSeries, 1}},
        {Letters('P', 'A'), {"QP", SensorFamily::QSeries, 1}},
        {Letters('K', 'H'), {"KH", SensorFamily::KSeries, 2}},
        {Letters('K', 'P'), {"KP", SensorFamily::KSeries, 3}},
        {Letters('K', 'B'), {"KBF", SensorFamily::KSeries, -1}},
        {Letters('B', 'P'), {"BP", SensorFamily::BSeries, -1}},
        {Letters('Q', 'D'), {"QD", SensorFamily::QSeries, 4}},
        {Letters('Q', 'F'), {"QF", SensorFamily::QSeries, 5}},
        {Letters('Q', 'A'), {"QA", SensorFamily::QSeries, 6}},
    }};
    return table;
}

constexpr std::array<int32_t, 8> KbfStageValues{0, 128, 64, 192, 32, 160, 96, 224};

}  // namespace

ModelCode ModelCodeFor(int32_t modelValue) {
    for (const auto& row : ModelTable()) {
        if (row.letters == modelValue)
            return row.code;
    }
    return {};
}

bool ModelBeginsWithB(int32_t modelValue) {
    return ((static_cast<uint32_t>(modelValue) >> 8) & 0xFF) == 'B';
}

bool IsKModelItem(int item) {
    return item == 2 || item == 3;
}

std::string FamilyLine(const ModelCode& code) {
    switch (code.family) {
        case SensorFamily::QSeries:
            return "Q-Series SSI (" + code.typeText + ")";
        case SensorFamily::KSeries:
            return "K-Series SSI (" + code.typeText + ")";
        case SensorFamily::BSeries:
            return "B-Series SSI (" + code.typeText + ")";
        case SensorFamily::None:
            break;
    }
    return "KYR Sensors SSI";
}

std::string FirmwareText(const std::string& reply) {
    std::string text = std::to_string(TSSICom::HexToInt(reply));
    // Only where the digits reach: a short reply is shown as it stands.
    if (text.size() >= 4)
        text.insert(3, "-");
    if (text.size() >= 7)
        text.insert(6, "-");
    return text;
}

bool IsOffsetRawFirmware(uint32_t firmwareVersion) {
    return firmwareVersion >= 3960400 && firmwareVersion <= 3960415;
}

int32_t OffsetMicrons(uint32_t firmwareVersion, int32_t offset, int32_t resolution,
                      int32_t filter) {
    if (IsOffsetRawFirmware(firmwareVersion))
        return offset;
    const auto product =
        static_cast<int32_t>(static_cast<uint32_t>(offset) * static_cast<uint32_t>(resolution));
    const int32_t divisor = int32_t{1} << (static_cast<uint32_t>(filter) & 3u);
    return product / divisor;
}

CycleTimeLine CycleTimeFor(const CycleTimeInputs& in) {
    CycleTimeLine line;
    line.minPeriodOverhead = in.jitterWindow + 33;
    line.synchronous = in.measurement == 2;
    if (!line.synchronous) {
        line.microseconds = in.cycleTime >> 2;
        return line;
    }
    if (in.outputFlags & 1)
        line.minPeriodOverhead += 14;
    if (in.outputCode == 0)
        line.minPeriodOverhead -= 3;
    if (in.positionCount == 2)
        line.minPeriodOverhead += 1;
    if (in.temperatureCompensation)
        line.minPeriodOverhead += 63;
    line.microseconds = (in.syncTiming >> 2) + line.minPeriodOverhead;
    return line;
}

int ChargepumpItem(bool kbf, int32_t value) {
    if (!kbf)
        return value >= 0 && value < 3 ? value : -1;
    for (size_t item = 0; item < KbfStageValues.size(); ++item) {
        if (KbfStageValues[item] == value)
            return static_cast<int>(item);
    }
    return -1;
}

int32_t ChargepumpValue(bool kbf, int item) {
    if (!kbf)
        return item;
    if (item < 0 || item >= static_cast<int>(KbfStageValues.size()))
        return 0;
    return KbfStageValues[static_cast<size_t>(item)];
}

std::optional<std::string> PointText(int32_t point, bool endPoint, int32_t offsetMicrons,
                                     bool internalLinearization, int32_t resolution) {
    if (point == (endPoint ? NoEndPoint : NoStartPoint))
        return std::nullopt;
    const uint32_t scaled = internalLinearization
                                ? static_cast<uint32_t>(point)
                                : static_cast<uint32_t>(point) * static_cast<uint32_t>(resolution);
    const auto micrometres = static_cast<int32_t>(static_cast<uint32_t>(offsetMicrons) + scaled);
    return MillimetreText(micrometres) + " mm";
}

std::string MillimetreText(int32_t micrometres) {
    std::string text = std::to_string(micrometres);
    const bool negative = micrometres < 0;
    const size_t digits = text.size() - (negative ? 1 : 0);
    if (digits < 3) {
        // Below 100 µm the digits are padded so that the point stays in place: 0.050.
        text.insert(negative ? 1 : 0, std::string(3 - digits, '0'));
        text.insert(negative ? 1 : 0, "0");
    }
    text.insert(text.size() - 3, ".");
    return text;
}

int32_t FieldInteger(const std::string& text) {
    int32_t value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+')
        ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc{} && end == last ? value : 0;
}

namespace {

constexpr uint32_t CorrectionFirmware = 3960607;
constexpr uint32_t BlankingFirmware = 3960609;
constexpr uint32_t SampleCycleFirmware39602 = 3960202;
constexpr int32_t VelocityMode = 2;
constexpr int32_t TemperatureBit = 2;

}  // namespace

bool BitWidthForced(uint32_t firmwareVersion, int32_t outputFlags) {
    return firmwareVersion >= CorrectionFirmware && (outputFlags & TemperatureBit) != 0;
}

bool FilterForced(uint32_t firmwareVersion, int32_t mode) {
    return firmwareVersion >= CorrectionFirmware && mode == VelocityMode;
}

bool HasSampleCycle(int firmwareType, uint32_t firmwareVersion) {
    return firmwareType == 39606 ||
           (firmwareType == 39602 && firmwareVersion > SampleCycleFirmware39602);
}

bool HasBlanking(uint32_t firmwareVersion) {
    return firmwareVersion > BlankingFirmware;
}

bool IsInternalLinearizationFactor(int32_t factor) {
    const auto unsignedFactor = static_cast<uint32_t>(factor);
    return unsignedFactor >= 1 && unsignedFactor <= 9;
}

}  // namespace rules
