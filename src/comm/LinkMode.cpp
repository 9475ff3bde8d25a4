#include "comm/LinkMode.h"

#include "comm/SensorRules.h"
#include "comm/Serialcom.h"

namespace comm {

namespace {
constexpr int TestEnterPulseMs = 100;
constexpr int TestLeavePulseMs = 300;
}  // namespace

LinkProfile TestStreamLink(int32_t firmwareVersion) {
    return {.baudRate = rules::TestStreamBaud(firmwareVersion),
            .timeoutMs = rules::StreamTimeoutMs,
            .pulseBeforeReopenMs = TestEnterPulseMs,
            .leavePulseMs = TestLeavePulseMs};
}

bool LinkMode::Enter() {
    pulseRts(profile_.pulseBeforeReopenMs);
    link_.Close();
    if (!link_.Open(link_.PortNumber(), profile_.baudRate, profile_.timeoutMs))
        return false;
    pulseRts(profile_.pulseAfterReopenMs);
    if (profile_.settleMs > 0)
        link_.Sleep(profile_.settleMs);
    link_.Purge();
    return true;
}

bool LinkMode::Leave() {
    pulseRts(profile_.leavePulseMs);
    link_.Close();
    return link_.OpenDefault(link_.PortNumber());
}

void LinkMode::pulseRts(int milliseconds) {
    if (milliseconds <= 0)
        return;
    link_.SetRts();
    link_.Sleep(milliseconds);
    link_.ClearRts();
}

}  // namespace comm
