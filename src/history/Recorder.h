#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "comm/Ssicom.h"
#include "history/HistoryStore.h"

namespace history {

// What the programs report after an operation on the sensor returns. Without a
// store it records nothing. An event the store refuses is kept and written
// with the next one, so a locked or read-only database never stops the work on
// the sensor and the history learns what it missed at the next chance.
class Recorder {
public:
    Recorder(HistoryStore* store, Origin origin);

    // The sensor's factory number, firmware and set as they stand; the set and
    // table are kept when `withSet` / `withLinTable`.
    void record(const TSSICom& sensor, const std::string& port, Operation operation, bool ok,
                const std::string& message = {}, const std::string& subject = {},
                bool withSet = true, bool withLinTable = false);
    void record(Event event);

    // Events the store has not taken yet, and the store's reason.
    size_t missed() const { return pending_.size(); }
    const std::string& problem() const { return problem_; }

private:
    void flush();

    HistoryStore* store_;
    Origin origin_;
    std::vector<Event> pending_;
    std::string problem_;
};

}  // namespace history
