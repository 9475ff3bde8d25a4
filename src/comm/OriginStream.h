#pragma once

#include <cstdint>
#include <optional>

#include "comm/LinkMode.h"

class TSSICom;

namespace comm {

// Reads the magnet's present position from the sensor's own stream: switches the
// measurement to streaming and commits it, reads the stream at 38400 baud, and
// returns to the command link. The set's table is left as the firmware leaves it:
// firmware that commits with EN gets its start of measurement back.
class OriginStream {
public:
    explicit OriginStream(TSSICom& sensor);

    // The position in µm; nothing when no record arrived.
    std::optional<int32_t> ReadPosition();
    // On the running stream: up to five records, the last one received giving the
    // position; a record that does not arrive ends nothing.
    std::optional<int32_t> ReadRecords(int32_t resolution);

private:
    void startStreaming();
    void returnToCommands(int32_t measurement);

    TSSICom& sensor_;
    LinkMode link_;
};

}  // namespace comm
