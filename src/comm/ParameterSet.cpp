#include "comm/ParameterSet.h"

#include <utility>

#include "comm/RegisterTable.h"
#include "comm/SensorRules.h"

namespace {
constexpr int WideRaReplyChars = 8;
}  // namespace

void ParameterSet::ResetTable() {
    for (int i = 0; i < RegisterCount; ++i) {
        const comm::RegisterInfo& info = comm::registerInfo(static_cast<RegisterIndex>(i));
        DataElement& reg = ParameterStruct[i];
        reg = DataElement{};
        reg.Mask = info.mask;
        reg.Shift = info.shift;
        reg.ReadCommand = info.readCommand;
        reg.WriteCommand = info.writeCommand;
    }
}

void ParameterSet::LoadDemoSet() {
    static constexpr std::pair<RegisterIndex, int32_t> Values[] = {
        {Resolution, 5},
        {Filter, 0},
        {Measurement, 0},
        {OutputCode, 1},
        {Direction, 0},
        {IndicationCounter, 1},
        {BitWidth, 25},
        {PositionCount, 1},
        {Mode, 0},
        {OutputFlags, 0},
        {Length, 500},
        {Offset, 0},
        {ErrorValue, 0},
        {PowerfailTime, 1},
        {Model, rules::ModelValue('Q', 'H')},
        {Chargepump, 1},
        {SyncTiming, 956},
        {JitterWindow, 50},
        {MonoflopTime, 32},
        {Scale, 284359},
        {CycleTime, 1667},
        {UARTCounter, 50},
        {FirmwareVersion, 3960105},
        {UltrasonicSpeed, 277695},
        {StartPoint, rules::NoStartPoint},
        {EndPoint, rules::NoEndPoint},
    };
    for (const auto& [r, value] : Values) {
        ParameterStruct[r].Value = value;
    }
    ParameterStruct[FirmwareVersion].Reply = "3C6D28";
    ParameterStruct[FactoryNumber].Reply = "12345678";
}

const char* ParameterSet::RegisterKey(RegisterIndex r) {
    return r >= 0 && r < RegisterCount ? comm::registerInfo(r).key : "";
}

int ParameterSet::ReplyLength(RegisterIndex r) const {
    if (r == PowerfailTime && rules::HasWideRaWord(FirmwareVersionNumber())) {
        return WideRaReplyChars;
    }
    return r >= 0 && r < RegisterCount ? comm::registerInfo(r).replyChars : 0;
}

int ParameterSet::FirmwareType() const {
    return rules::FirmwareTypeOf(FirmwareVersionNumber());
}
