#include "testmode/SensorTestLink.h"

#include <array>

#include "comm/LinkMode.h"
#include "comm/SensorRules.h"

namespace testmode {

namespace {

constexpr int AfterWakeMs = 500;
constexpr int AfterMeasurementWriteMs = 200;
constexpr double BitsPerByte = 10;  // start bit, eight data bits, stop bit
// About one display frame: the port's buffer holds many times this much of the stream.
constexpr int BurstPauseMs = 15;

}  // namespace

SensorTestLink::SensorTestLink(TSSICom& com) : com_(com) {
    format_.halfMicrometres = rules::UsesHalfMicrometres(com_[TSSICom::Scale].Value);
}

double SensorTestLink::WireBlocksPerSecond() const {
    return comm::TestStreamLink(com_.FirmwareVersionNumber()).baudRate / BitsPerByte /
           double(BlockLength);
}

bool SensorTestLink::NeedsWarning() const {
    return !rules::CommitsWithCN(com_.FirmwareVersionNumber());
}

void SensorTestLink::Enter() {
    format_.resolution = com_[TSSICom::Resolution].Value;
    format_.bitWidth = com_[TSSICom::BitWidth].Value;
    format_.temperatureBit =
        rules::HasFlag(com_[TSSICom::OutputFlags].Value, rules::TemperatureBit);
    errorWord_ = static_cast<uint32_t>(com_[TSSICom::ErrorValue].Value);
    savedMeasurement_ = com_[TSSICom::Measurement].Value;
    com_[TSSICom::Measurement].Value = savedMeasurement_ | rules::MeasurementTestMode;
    const bool switched = com_.WriteRegister(TSSICom::Measurement);
    com_.ReadRegister(TSSICom::FirmwareVersion);
    com_.Commit();
    entered_ = streamLink().Enter() && switched;
}

std::optional<Reading> SensorTestLink::ReadBlock() {
    if (drained_) {
        com_.Sleep(BurstPauseMs);
    }
    std::array<uint8_t, BlockLength> block{};
    size_t received = 0;
    const int64_t startMs = com_.Now();
    com_.ReadBytes(block.data(), block.size(), received);
    drained_ = com_.Now() > startMs;
    if (received != block.size()) {
        return std::nullopt;
    }
    const std::string_view text(reinterpret_cast<const char*>(block.data()), block.size());
    Reading reading{DecodeBlock(text, format_), std::string(FrameRecord(text))};
    reading.word = TSSICom::HexToInt(reading.record);
    reading.timeMs = com_.Now();
    if (!IsHexRecord(reading.record)) {
        reading.kind = SampleKind::Undecoded;
    } else if (reading.word == errorWord_) {
        reading.kind = SampleKind::ErrorValue;
    }
    return reading;
}

bool SensorTestLink::Leave() {
    const bool returned = ReturnToCommandLink();
    return RestoreMeasurement() && returned;
}

bool SensorTestLink::ReturnToCommandLink() {
    return streamLink().Leave();
}

bool SensorTestLink::RestoreMeasurement() {
    com_[TSSICom::Measurement].Value = savedMeasurement_ & rules::MeasurementSynchronous;
    if (!NeedsWarning() && entered_) {
        return true;
    }
    com_.WakeSensor();
    com_.Sleep(AfterWakeMs);
    const bool written = com_.WriteRegister(TSSICom::Measurement);
    com_.Sleep(AfterMeasurementWriteMs);
    return com_.Commit() && written;
}

comm::LinkMode SensorTestLink::streamLink() {
    return comm::LinkMode(com_, comm::TestStreamLink(com_.FirmwareVersionNumber()));
}

}  // namespace testmode
