#pragma once

#include <optional>
#include <ostream>
#include <streambuf>
#include <string>

#include "OperationLog.h"
#include "comm/Ssicom.h"
#include "history/HistoryStore.h"
#include "history/Recorder.h"

namespace cli {

// The database `--history` names, else the settings file's HistoryDatabase,
// else the default file; nothing when the settings file cannot be read, and
// `problem` says why.
std::optional<std::string> historyLocation(const std::optional<std::string>& option,
                                           std::string& problem);

// varnelctl, its version and the login name of the account that runs it.
history::Origin programOrigin();

// Passes text on to another stream and keeps what passed since it was last taken.
class MessageCapture : public std::streambuf {
public:
    explicit MessageCapture(std::ostream& target) : target_(target) {}

    // The kept lines, without progress drawn in place and the last line end; clears them.
    std::string take();

protected:
    int overflow(int c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;

private:
    std::ostream& target_;
    std::string kept_;
};

// The history of one varnelctl run: every event through one recorder, and one
// warning to `warnings` when the database does not take them.
class HistoryLog : public OperationLog {
public:
    HistoryLog(history::HistoryStore* store, std::ostream& warnings);

    // The sensor and port the next events are about, and where the commands'
    // messages pass. An operation that did not read the set has its event's
    // factory number read afterwards.
    void attach(TSSICom& sensor, std::string port, MessageCapture* messages);

    void done(history::Operation operation, bool ok, const std::string& subject = {},
              bool withSet = true, bool withLinTable = false,
              const std::string& message = {}) override;

private:
    void warnOnce();

    history::Recorder recorder_;
    bool recording_;
    std::ostream& warnings_;
    TSSICom* sensor_ = nullptr;
    std::string port_;
    MessageCapture* messages_ = nullptr;
    bool warned_ = false;
};

}  // namespace cli
