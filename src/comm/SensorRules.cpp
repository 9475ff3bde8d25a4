#include "comm/SensorRules.h"

#include <array>
#include <cctype>
#include <charconv>

#include "comm/RegisterTable.h"
#include "comm/Ssicom.h"

namespace rules {

namespace {

constexpr size_t FirmwareTypeChars = 5;

// Overheads of the minimum SSI period in microseconds.
constexpr int32_t BasePeriodOverhead = 33;
constexpr int32_t SiemensBitOverhead = 14;
constexpr int32_t BinaryCodeSaving = 3;
constexpr int32_t DifferenceMeasuringOverhead = 1;
constexpr int32_t TemperatureCompensationOverhead = 63;

uint32_t Unsigned(int32_t value) {
    return static_cast<uint32_t>(value);
}

int32_t QuarterToMicroseconds(int32_t quarters) {
    return quarters >> 2;
}

struct ModelRow {
    int32_t letters;
    ModelCode code;
};

const std::array<ModelRow, 10>& ModelTable() {
    static const std::array<ModelRow, 10> table{{
        {ModelValue('Q', 'H'), {"QH", SensorFamily::QSeries, 0}},
        {ModelValue('Q', 'P'), {"QP", SensorFamily::QSeries, 1}},
        {ModelValue('P', 'A'), {"QP", SensorFamily::QSeries, 1}},
        {ModelValue('K', 'H'), {"KH", SensorFamily::KSeries, 2}},
        {ModelValue('K', 'P'), {"KP", SensorFamily::KSeries, 3}},
        {ModelValue('K', 'B'), {"KBF", SensorFamily::KSeries, -1}},
        {ModelValue('B', 'P'), {"BP", SensorFamily::BSeries, -1}},
        {ModelValue('Q', 'D'), {"QD", SensorFamily::QSeries, 4}},
        {ModelValue('Q', 'F'), {"QF", SensorFamily::QSeries, 5}},
        {ModelValue('Q', 'A'), {"QA", SensorFamily::QSeries, 6}},
    }};
    return table;
}

constexpr std::array<int32_t, 8> KbfStageValues{0, 128, 64, 192, 32, 160, 96, 224};

}  // namespace

int FirmwareTypeOf(int32_t firmwareVersion) {
    const std::string digits = std::to_string(Unsigned(firmwareVersion));
    return std::stoi(digits.substr(0, FirmwareTypeChars));
}

bool CommitsWithCN(int32_t firmwareVersion) {
    return Unsigned(firmwareVersion) > LastFirmwareCommittingWithEN;
}

int TestStreamBaud(int32_t firmwareVersion) {
    const uint32_t version = Unsigned(firmwareVersion);
    return version >= FirstFastStreamingFirmware && version <= LastFastStreamingFirmware
               ? FastStreamBaud
               : StreamBaud;
}

bool AppliesCorrections(int32_t firmwareVersion) {
    return Unsigned(firmwareVersion) >= FirstCorrectingFirmware;
}

bool HasBlanking(int32_t firmwareVersion) {
    return Unsigned(firmwareVersion) > LastFirmwareWithoutBlanking;
}

bool IsOffsetRawFirmware(uint32_t firmwareVersion) {
    return firmwareVersion >= FirstOffsetRawFirmware && firmwareVersion <= LastOffsetRawFirmware;
}

bool HasWideRaWord(int32_t firmwareVersion) {
    return FirmwareTypeOf(firmwareVersion) == FirmwareType39606;
}

bool HasSampleTimeInNarrowRaWord(int32_t firmwareVersion) {
    return FirmwareTypeOf(firmwareVersion) == FirmwareType39602 &&
           Unsigned(firmwareVersion) > LastFirmware39602WithoutSampleTime;
}

bool HasSampleCycle(int32_t firmwareVersion) {
    return HasWideRaWord(firmwareVersion) || HasSampleTimeInNarrowRaWord(firmwareVersion);
}

bool AcceptsFirmwareImage(int32_t firmwareVersion) {
    const int type = FirmwareTypeOf(firmwareVersion);
    return type == FirmwareType39606 || type == 0;
}

bool IsDataloggerFirmware(uint32_t firmwareVersion) {
    return firmwareVersion < FirstFirmwareAfterDatalogger;
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

std::string ModelLetters(int32_t modelValue) {
    const int first = (modelValue >> 8) & 0xFF;
    const int second = modelValue & 0xFF;
    if (!std::isalpha(first) || !std::isalpha(second))
        return std::to_string(modelValue);
    return {static_cast<char>(first), static_cast<char>(second)};
}

std::optional<int32_t> ParseModelLetters(const std::string& text) {
    if (text.size() != 2)
        return std::nullopt;
    const auto first = static_cast<unsigned char>(text[0]);
    const auto second = static_cast<unsigned char>(text[1]);
    if (!std::isalpha(first) || !std::isalpha(second))
        return std::nullopt;
    return ModelValue(static_cast<char>(std::toupper(first)),
                      static_cast<char>(std::toupper(second)));
}

bool IsModelValue(int32_t modelValue) {
    const auto upperLetter = [](int32_t c) { return c >= 'A' && c <= 'Z'; };
    return modelValue >= 0 && modelValue <= 0xFFFF && upperLetter(modelValue >> 8) &&
           upperLetter(modelValue & 0xFF);
}

ValueRange RegisterRange(ParameterSet::RegisterIndex r) {
    const comm::RegisterInfo& info = comm::registerInfo(r);
    return {info.min, info.max};
}

bool IsSendableLength(int64_t length) {
    return length >= 0 && length <= 0xFFFF &&
           (length < LongLengthFrom || length % LongLengthStep == 0);
}

std::optional<std::string> NormalisedFactoryNumber(const std::string& text) {
    if (text.empty() || text.size() > FactoryNumberChars)
        return std::nullopt;
    std::string normalised(FactoryNumberChars - text.size(), '0');
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (!std::isalnum(byte))
            return std::nullopt;
        normalised += static_cast<char>(std::toupper(byte));
    }
    return normalised;
}

bool UsesHalfMicrometres(int32_t scale) {
    return Unsigned(scale) > LargestMicrometreScale;
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
    line.minPeriodOverhead = in.jitterWindow + BasePeriodOverhead;
    line.synchronous = in.measurement == MeasurementSynchronous;
    if (!line.synchronous) {
        line.microseconds = QuarterToMicroseconds(in.cycleTime);
        return line;
    }
    if (HasFlag(in.outputFlags, SiemensBit))
        line.minPeriodOverhead += SiemensBitOverhead;
    if (in.outputCode == OutputCodeBinary)
        line.minPeriodOverhead -= BinaryCodeSaving;
    if (in.positionCount == PositionCountDifference)
        line.minPeriodOverhead += DifferenceMeasuringOverhead;
    if (in.temperatureCompensation)
        line.minPeriodOverhead += TemperatureCompensationOverhead;
    line.microseconds = QuarterToMicroseconds(in.syncTiming) + line.minPeriodOverhead;
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

bool BitWidthForced(int32_t firmwareVersion, int32_t outputFlags) {
    return AppliesCorrections(firmwareVersion) && HasFlag(outputFlags, TemperatureBit);
}

bool FilterForced(int32_t firmwareVersion, int32_t mode) {
    return AppliesCorrections(firmwareVersion) && mode == ModeVelocity;
}

int32_t WithFlag(int32_t flags, int32_t bit, bool on) {
    return on ? flags | bit : flags & ~bit;
}

int32_t OutputFlagsWithSiemens(int32_t flags, bool on, int firmwareType) {
    if (firmwareType == FirmwareType39606)
        return WithFlag(flags, SiemensBit, on);
    return on ? SiemensBit : 0;
}

bool RangeFollowsResolution(int32_t firmwareVersion) {
    return FirmwareTypeOf(firmwareVersion) == FirmwareType39606 ||
           firmwareVersion == FirmwareKeepingRangeInCounts;
}

bool RangeTaught(int32_t startPoint, int32_t endPoint) {
    return startPoint != NoStartPoint || endPoint != NoEndPoint;
}

bool ChecksJitterWindowOnExit(int32_t firmwareVersion) {
    return Unsigned(firmwareVersion) <= LastFirmwareCheckingJitterWindow;
}

bool IsInternalLinearizationFactor(int32_t factor) {
    const auto unsignedFactor = static_cast<uint32_t>(factor);
    return unsignedFactor >= 1 && unsignedFactor <= 9;
}

}  // namespace rules
