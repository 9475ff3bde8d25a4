#pragma once

#include <cstdint>

class TSerialCom;

namespace comm {

// How the port switches into one of the sensor's special modes and back to the
// command link. A pulse of 0 ms is no pulse at all.
struct LinkProfile {
    int baudRate = 0;
    int timeoutMs = 0;
    int pulseBeforeReopenMs = 0;  // RTS pulse while still on the command link
    int pulseAfterReopenMs = 0;   // RTS pulse on the reopened port
    int settleMs = 0;             // pause on the reopened port before its purge
    int leavePulseMs = 0;         // RTS pulse before the command link is reopened
};

// The stream of positions that teaches a new origin.
inline constexpr LinkProfile OriginStreamLink{.baudRate = 38400,
                                              .timeoutMs = 2000,
                                              .pulseBeforeReopenMs = 200,
                                              .settleMs = 500,
                                              .leavePulseMs = 100};
// The bootloader takes its pulse after the change of speed.
inline constexpr LinkProfile BootloaderLink{
    .baudRate = 38400, .timeoutMs = 4000, .pulseAfterReopenMs = 500};
// The live sensor test streams at the speed its firmware uses.
LinkProfile TestStreamLink(int32_t firmwareVersion);

// One way into a special mode and out of it again, on the port in use.
class LinkMode {
public:
    LinkMode(TSerialCom& link, const LinkProfile& profile) : link_(link), profile_(profile) {}

    // Pulse, close, reopen with the mode's profile, pulse, settle, purge.
    // False when the port did not reopen; nothing follows on it then.
    bool Enter();
    // Pulse, close, reopen on the command link. False when the port did not open.
    bool Leave();

private:
    void pulseRts(int milliseconds);

    TSerialCom& link_;
    LinkProfile profile_;
};

}  // namespace comm
