#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "Arguments.h"
#include "OperationLog.h"
#include "comm/Ssicom.h"
#include "history/HistoryStore.h"

namespace cli {

// The history family: the events as a table, one event's set, two events
// compared, and a replacement sensor set up from the set of the one it replaces.
class HistoryCommands {
public:
    // `database` names the store in messages.
    HistoryCommands(history::HistoryStore& store, std::string database, std::ostream& out,
                    std::ostream& err)
        : store_(store), database_(std::move(database)), out_(out), err_(err) {}

    int run(const HistoryInvocation& history, bool json);
    int list(const HistoryInvocation& history, bool json);
    int show(int64_t id, bool json);
    int diff(int64_t first, int64_t second, bool json);
    // Writes the last recorded set of `oldFactoryNumber` into the sensor on the
    // open port and verifies it; exit codes as apply's.
    int restore(TSSICom& com, const std::string& port, const std::string& oldFactoryNumber,
                bool commit, bool json, OperationLog* log);

private:
    // The event with its set, or nothing after saying why.
    std::optional<history::Event> eventWithSet(int64_t id);
    int storeFailed(const std::string& what);

    history::HistoryStore& store_;
    std::string database_;
    std::ostream& out_;
    std::ostream& err_;
};

}  // namespace cli
