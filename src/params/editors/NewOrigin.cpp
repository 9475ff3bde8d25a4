#include "params/editors/NewOrigin.h"

#include "comm/SensorRules.h"
#include "params/editors/OffsetEditor.h"
#include "ui/MainState.h"
#include "ui/WaitCursor.h"
#include "ui/controls/EditorContract.h"

namespace params {

namespace {

constexpr int32_t StreamingMeasurement = 1;
constexpr int StreamBaud = 38400;
constexpr int StreamTimeoutMs = 2000;
constexpr int SwitchPauseMs = 20;
constexpr int StreamRtsPulseMs = 200;
constexpr int CommandRtsPulseMs = 100;
constexpr int SettlePauseMs = 500;
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

void NewOrigin::OriginButtonClick() {
    TSSICom& sensor = contract_.sensor();
    MainState& state = contract_.state();
    const auto pause = state.PausePolling();
    std::optional<int32_t> position;
    {
        WaitCursor hourglass;
        const int32_t resolution = sensor[TSSICom::Resolution].Value;
        const int32_t measurement = sensor[TSSICom::Measurement].Value;
        startStreaming();
        position = readPosition(resolution);
        returnToCommands(measurement);
    }
    if (!position) {
        contract_.show(mainmessages::Id::NoPositionReceived);
        return;
    }
    offset_.ShowMicrometres(offset_.FieldMicrometres() - *position);
    offset_.OnEditOffset(QString::number(offset_.FieldMicrometres()));
}

void NewOrigin::startStreaming() {
    TSSICom& sensor = contract_.sensor();
    sensor[TSSICom::Measurement].Value = StreamingMeasurement;
    sensor.WriteRegister(TSSICom::Measurement);
    sensor.Sleep(SwitchPauseMs);
    sensor.Commit();
    contract_.state().ClearParametersChanged();
    const uint8_t port = sensor.PortNumber();
    sensor.SetRts();
    sensor.Sleep(StreamRtsPulseMs);
    sensor.ClearRts();
    sensor.Close();
    sensor.Open(port, StreamBaud, StreamTimeoutMs);
    sensor.Sleep(SettlePauseMs);
    sensor.Purge();
}

// The stream runs on while the port is reopened, so the first bytes read may
// start inside a record: reading resumes after the first carriage return.
std::optional<int32_t> NewOrigin::readPosition(int32_t resolution) {
    TSSICom& sensor = contract_.sensor();
    if (!sensor.SkipPastCarriageReturn(RecordLength))
        return std::nullopt;
    const int32_t bitWidth = sensor[TSSICom::BitWidth].Value;
    std::optional<int32_t> position;
    std::string record;
    for (int i = 0; i < Records && sensor.ReceiveReply(RecordLength, record); ++i) {
        const int32_t counts = PositionCounts(TSSICom::HexToInt(record), bitWidth);
        position =
            static_cast<int32_t>(static_cast<uint32_t>(counts) * static_cast<uint32_t>(resolution));
    }
    return position;
}

void NewOrigin::returnToCommands(int32_t measurement) {
    TSSICom& sensor = contract_.sensor();
    const uint8_t port = sensor.PortNumber();
    sensor.SetRts();
    sensor.Sleep(CommandRtsPulseMs);
    sensor.ClearRts();
    sensor.Close();
    sensor.OpenDefault(port);
    sensor.WakeSensor();
    sensor.Sleep(SettlePauseMs);
    if (rules::CommitsWithCN(sensor.FirmwareVersionNumber()))
        return;
    sensor[TSSICom::Measurement].Value = measurement;
    sensor.WriteRegister(TSSICom::Measurement);
    sensor.Sleep(RestorePauseMs);
    sensor.WriteFactorySettings();
}

}  // namespace params
