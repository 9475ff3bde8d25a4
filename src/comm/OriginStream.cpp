#include "comm/OriginStream.h"

#include <string>

#include "comm/SensorRules.h"
#include "comm/Ssicom.h"

namespace comm {

namespace {

constexpr int32_t StreamingMeasurement = 1;
constexpr int SwitchPauseMs = 20;
constexpr int AfterWakeMs = 500;
constexpr int RestorePauseMs = 100;
constexpr int Records = 5;
// Eight hexadecimal digits and the carriage return.
constexpr int RecordLength = 9;
constexpr int FullWordBits = 32;

// The stream's word holds the position in its top `bitWidth` bits.
int32_t PositionCounts(uint32_t word, int32_t bitWidth) {
    const auto value = static_cast<int32_t>(word);
    if (bitWidth >= FullWordBits || bitWidth <= 0)
        return value;
    return value >> (FullWordBits - bitWidth);
}

}  // namespace

OriginStream::OriginStream(TSSICom& sensor) : sensor_(sensor), link_(sensor, OriginStreamLink) {}

std::optional<int32_t> OriginStream::ReadPosition() {
    const int32_t resolution = sensor_[TSSICom::Resolution].Value;
    const int32_t measurement = sensor_[TSSICom::Measurement].Value;
    startStreaming();
    const auto position = ReadRecords(resolution);
    returnToCommands(measurement);
    return position;
}

void OriginStream::startStreaming() {
    sensor_[TSSICom::Measurement].Value = StreamingMeasurement;
    sensor_.WriteRegister(TSSICom::Measurement);
    sensor_.Sleep(SwitchPauseMs);
    sensor_.Commit();
    link_.Enter();
}

// The stream runs on while the port is reopened, so the first bytes read may
// start inside a record: reading resumes after the first carriage return.
std::optional<int32_t> OriginStream::ReadRecords(int32_t resolution) {
    if (!sensor_.SkipPastCarriageReturn(RecordLength))
        return std::nullopt;
    const int32_t bitWidth = sensor_[TSSICom::BitWidth].Value;
    std::optional<int32_t> position;
    std::string record;
    for (int i = 0; i < Records; ++i) {
        if (!sensor_.ReceiveReply(RecordLength, record))
            continue;
        const int32_t counts = PositionCounts(TSSICom::HexToInt(record), bitWidth);
        position =
            static_cast<int32_t>(static_cast<uint32_t>(counts) * static_cast<uint32_t>(resolution));
    }
    return position;
}

void OriginStream::returnToCommands(int32_t measurement) {
    link_.Leave();
    sensor_.WakeSensor();
    sensor_.Sleep(AfterWakeMs);
    if (rules::CommitsWithCN(sensor_.FirmwareVersionNumber()))
        return;
    sensor_[TSSICom::Measurement].Value = measurement;
    sensor_.WriteRegister(TSSICom::Measurement);
    sensor_.Sleep(RestorePauseMs);
    sensor_.WriteFactorySettings();
}

}  // namespace comm
