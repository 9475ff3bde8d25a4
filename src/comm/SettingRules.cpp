#include "comm/SettingRules.h"

#include <array>
#include <cmath>

#include "comm/SensorRules.h"

namespace rules {

namespace {

int32_t Wrapped(int64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

int32_t FilterFactor(int32_t filter) {
    return int32_t{1} << (static_cast<uint32_t>(filter) & 3u);
}

// Mirror bases: the QH's dead zone grows above 5000 mm.
constexpr uint32_t LongQhFrom = 5000;
constexpr int32_t QhDeadZoneUm = 114500;
constexpr int32_t LongQhDeadZoneUm = 117000;
constexpr int32_t QpDeadZoneUm = 94000;

// Charge-pump items of the three-stage sensors start at these lengths.
constexpr std::array<int32_t, 2> ThreeStageFrom{345, 1670};
// A KBF's stages start at these lengths; below the first none is chosen.
constexpr std::array<int32_t, 8> KbfStageFrom{25, 150, 350, 550, 800, 1100, 1450, 1601};

// Up to this version the model choice writes QH or PA only.
constexpr int32_t LastFirmwareWithTwoModels = 3960102;
constexpr std::array<std::pair<char, char>, 7> ModelItemLetters{
    {{'Q', 'H'}, {'Q', 'P'}, {'K', 'H'}, {'K', 'P'}, {'Q', 'D'}, {'Q', 'F'}, {'Q', 'A'}}};

constexpr int32_t FirstRevisionLetterV = 5;

int32_t AsyncCycleTime(int64_t lengthMm) {
    return Wrapped(lengthMm * 1000 / 343 + 160);
}

CycleTimes LinearizedCycleTimes(int64_t lengthMm, int32_t resolution, int32_t positionCount) {
    const int64_t extra = positionCount - 1;
    const bool fine = resolution == 1;
    const int64_t shortBelow = positionCount == 2 ? (fine ? 892 : 1200) : (fine ? 483 : 615);
    const bool shortRod = (positionCount == 1 || positionCount == 2) && lengthMm < shortBelow;
    CycleTimes times;
    times.cycleTime =
        shortRod ? Wrapped(lengthMm * 1000 / 650 + (fine ? 820 : 1000) + (fine ? 560 : 800) * extra)
                 : AsyncCycleTime(lengthMm);
    times.syncTiming =
        Wrapped(lengthMm * 1000 / 668 + (fine ? 768 : 948) + (fine ? 566 : 747) * extra);
    return times;
}

CycleTimes PlainCycleTimes(int64_t lengthMm) {
    CycleTimes times;
    if (lengthMm <= 100) {
        times.cycleTime = Wrapped(std::llround(static_cast<double>(lengthMm) * 2000 / 343) + 320);
    } else if (lengthMm <= 600) {
        times.cycleTime = AsyncCycleTime(lengthMm);
    } else {
        times.cycleTime = Wrapped(lengthMm * 1000 / 668 + 208);
    }
    times.syncTiming = Wrapped(lengthMm * 1000 / 668 + 208);
    return times;
}

}  // namespace

// The quotient in 64 bits, so that INT32_MIN / -1 wraps as the sensor's arithmetic does.
int32_t SensorOffset(int32_t micrometres, int32_t filter, int32_t resolution) {
    return Wrapped(int64_t{Wrapped(int64_t{micrometres} * FilterFactor(filter))} / resolution);
}

int32_t RescaledOffset(int32_t offset, int32_t oldFilter, int32_t newFilter) {
    return Wrapped(int64_t{offset} * FilterFactor(newFilter)) / FilterFactor(oldFilter);
}

std::optional<int32_t> MirrorBase(int32_t modelValue, int32_t lengthMm) {
    const int32_t rod = Wrapped(int64_t{lengthMm} * 1000);
    if (modelValue == ModelValue('Q', 'H')) {
        const bool longRod = static_cast<uint32_t>(lengthMm) > LongQhFrom;
        return Wrapped(int64_t{rod} + (longRod ? LongQhDeadZoneUm : QhDeadZoneUm));
    }
    if (modelValue == ModelValue('Q', 'P'))
        return Wrapped(int64_t{rod} + QpDeadZoneUm);
    return std::nullopt;
}

int32_t ScaleFor(int32_t ultrasonicSpeed, int32_t resolution) {
    return Wrapped(int64_t{ultrasonicSpeed} * 512 / (int64_t{100} * resolution));
}

int32_t ScaleFromSpeed(int32_t ultrasonicSpeed, int32_t resolution) {
    const uint32_t product = static_cast<uint32_t>(ultrasonicSpeed) * 512u;
    return static_cast<int32_t>(product / static_cast<uint32_t>(resolution) / 100u);
}

int32_t HalfMicrometreScale(int32_t ultrasonicSpeed) {
    return Wrapped(int64_t{ultrasonicSpeed} * 1024 / 100);
}

bool TakesHalfMicrometres(int32_t firmwareVersion, const std::string& modelReply) {
    return std::to_string(static_cast<uint32_t>(firmwareVersion)).rfind("3960", 0) == 0 &&
           !modelReply.empty() && modelReply[0] == 'Q';
}

CycleTimes CycleTimesForLength(int32_t lengthMm, bool internalLinearization, int32_t resolution,
                               int32_t positionCount) {
    if (internalLinearization)
        return LinearizedCycleTimes(lengthMm, resolution, positionCount);
    return PlainCycleTimes(lengthMm);
}

std::optional<int> ChargepumpItemForLength(bool kbf, int32_t lengthMm) {
    int item = -1;
    if (kbf) {
        for (size_t i = 0; i < KbfStageFrom.size() && lengthMm >= KbfStageFrom[i]; ++i)
            item = static_cast<int>(i);
        return item < 0 ? std::nullopt : std::optional<int>(item);
    }
    item = 0;
    for (const int32_t from : ThreeStageFrom)
        item += lengthMm >= from ? 1 : 0;
    return item;
}

int32_t ModelValueForItem(int item, int32_t firmwareVersion) {
    if (static_cast<uint32_t>(firmwareVersion) <= LastFirmwareWithTwoModels)
        return item == 1 ? ModelValue('P', 'A') : ModelValue('Q', 'H');
    if (item < 0 || item >= static_cast<int>(ModelItemLetters.size()))
        return ModelValue('Q', 'H');
    const auto [first, second] = ModelItemLetters[static_cast<size_t>(item)];
    return ModelValue(first, second);
}

std::optional<SeriesConversion> QSeriesConversion(int32_t firmwareVersion, int modelItem) {
    if (FirmwareTypeOf(firmwareVersion) != FirmwareType39606)
        return std::nullopt;
    const std::string digits = std::to_string(static_cast<uint32_t>(firmwareVersion));
    const int revision = digits.size() >= 7 ? std::stoi(digits.substr(5, 2)) : 0;
    const char first = revision == FirstRevisionLetterV ? 'V' : 'W';
    if (modelItem == 1 || modelItem == 3)
        return SeriesConversion{ModelValue(first, 'P'), 1};
    if (modelItem >= 0 && modelItem <= 6)
        return SeriesConversion{ModelValue(first, 'H'), 0};
    return SeriesConversion{static_cast<int32_t>(first) * 256, -1};
}

int32_t SendableLength(int32_t lengthMm) {
    if (lengthMm <= LongLengthFrom)
        return lengthMm;
    return lengthMm - lengthMm % LongLengthStep;
}

}  // namespace rules
