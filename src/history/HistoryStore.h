#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "history/Event.h"

namespace history {

struct EventFilter {
    std::optional<std::string> factoryNumber;
    // UTC date ("2026-03-01") or time in ISO 8601; events at or after it.
    std::optional<std::string> since;
};

// Where the events of all programs go. Every call is one transaction; a call
// that fails leaves the store as it was and says why in lastError().
class HistoryStore {
public:
    virtual ~HistoryStore() = default;

    // Writes the event and gives it its id (and its time, when empty).
    virtual bool record(Event& event) = 0;
    // Newest first, without their sets; empty when the query failed.
    virtual std::optional<std::vector<Event>> events(const EventFilter& filter) = 0;
    // One event with its set and table; empty when there is none or the query failed.
    virtual std::optional<Event> event(int64_t id) = 0;
    // The newest successful event of the sensor that holds a whole set.
    virtual std::optional<Event> lastSet(const std::string& factoryNumber) = 0;
    // Of the last call that failed: "database is locked", "attempt to write a readonly database".
    virtual std::string lastError() const = 0;
};

}  // namespace history
