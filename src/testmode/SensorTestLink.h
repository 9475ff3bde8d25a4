#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "comm/LinkMode.h"
#include "comm/Ssicom.h"
#include "testmode/StreamDecoding.h"

namespace testmode {

// The sensor's streaming test mode over the link: switching in, reading the
// blocks and switching back to the command exchange. No step checks its
// result: a sensor that does not follow streams nothing and the reads fail.
class SensorTestLink {
public:
    explicit SensorTestLink(TSSICom& com);

    // Firmware that commits with EN also leaves test mode by a write of its own.
    bool NeedsWarning() const;
    bool HalfMicrometres() const { return format_.halfMicrometres; }
    // The blocks per second that the stream's speed carries.
    double WireBlocksPerSecond() const;

    // Sets the test-mode bit, commits and reopens the port at the stream's speed.
    void Enter();
    // One block within the stream's time-out, timed on the link's clock; nothing
    // when it came incomplete. When the last block had to be waited for, the
    // stream is let run for a moment first, so that the blocks are read in
    // bursts rather than byte by byte as they trickle in.
    std::optional<Reading> ReadBlock();
    // Back to the command link with the test-mode bit cleared in the table:
    // ReturnToCommandLink, then RestoreMeasurement. False when either failed.
    bool Leave();
    // False when the port did not open for the command link.
    bool ReturnToCommandLink();
    // Firmware that commits with EN is also told the mode without the test bit,
    // and so is newer firmware when the switch into test mode was not confirmed:
    // it may hold the committed bit without having streamed. False when that
    // write or its commit failed.
    bool RestoreMeasurement();

private:
    comm::LinkMode streamLink();

    TSSICom& com_;
    StreamFormat format_;
    int32_t savedMeasurement_ = 0;
    uint32_t errorWord_ = 0;
    bool drained_ = false;  // the last read waited for its block
    // The test-mode bit was confirmed and the port opened at the stream's speed.
    bool entered_ = false;
};

}  // namespace testmode
