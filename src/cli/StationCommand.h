#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "Interrupt.h"
#include "OperationLog.h"
#include "comm/Ssicom.h"
#include "history/HistoryStore.h"
#include "station/Station.h"

namespace cli {

struct StationOptions {
    std::string file;
    std::string reportDir;  // empty: no reports
    uint8_t language = 0;
    bool again = false;
    bool json = false;
    bool terminal = false;  // progress on `err`
};

// varnelctl station: the station loop on one port, with its lines, reports,
// events and the history's word on which sensors are done today, until Ctrl-C.
class StationCommand : public station::StationHost {
public:
    StationCommand(TSSICom& com, std::string port, std::ostream& out, std::ostream& err,
                   OperationLog* log, history::HistoryStore* store);

    // Ends after Ctrl-C: 0 when no sensor failed, 1 when one did or the file is unreadable.
    int run(uint8_t portNumber, const StationOptions& options);

    bool stopRequested() override;
    bool doneToday(const std::string& factoryNumber) override;
    void waitingForSensor() override;
    void applying(const std::string& factoryNumber) override;
    void applied(const std::string& factoryNumber, const station::ApplyResult& result) override;
    void skipped(const std::string& factoryNumber) override;
    void waitingForRemoval(const std::string& factoryNumber) override;

private:
    // The report of a sensor whose set matches; its path, or empty.
    std::string writeReport(const std::string& factoryNumber);
    void progress(const std::string& text);
    void line(const std::string& text);

    TSSICom& com_;
    std::string port_;
    std::ostream& out_;
    std::ostream& err_;
    OperationLog* log_;
    history::HistoryStore* store_;
    StationOptions options_;
    InterruptFlag interrupt_;
    bool failures_ = false;
    bool warned_ = false;
    bool progressShown_ = false;
};

}  // namespace cli
