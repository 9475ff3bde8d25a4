#pragma once

#include <string>

#include "history/Event.h"

namespace cli {

// Where the commands say what they did to the sensor, once it returned: the
// sensor history. A failed operation takes the message the command printed.
class OperationLog {
public:
    virtual ~OperationLog() = default;

    // What the set holds goes with the event when `withSet`, the table when
    // `withLinTable`. A failure's message is `message`, or else what the
    // command printed to its error stream since the last event.
    virtual void done(history::Operation operation, bool ok, const std::string& subject = {},
                      bool withSet = true, bool withLinTable = false,
                      const std::string& message = {}) = 0;
};

}  // namespace cli
