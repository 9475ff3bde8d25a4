#pragma once

#include <cstdint>
#include <string>

#include "comm/Ssicom.h"
#include "files/ParameterFile.h"
#include "station/Apply.h"

// An end-of-line station: sensor after sensor on one port, each set up with the
// same file and committed.
namespace station {

// What the loop asks of the program that runs it, and what it tells it.
class StationHost {
public:
    virtual ~StationHost() = default;

    virtual bool stopRequested() = 0;
    // Whether the sensor was set up with the file today already.
    virtual bool doneToday(const std::string& factoryNumber) = 0;

    virtual void waitingForSensor() = 0;
    virtual void applying(const std::string& factoryNumber) = 0;
    virtual void applied(const std::string& factoryNumber, const ApplyResult& result) = 0;
    virtual void skipped(const std::string& factoryNumber) = 0;
    virtual void waitingForRemoval(const std::string& factoryNumber) = 0;
};

// A calm pace for a port that may be absent for minutes.
inline constexpr int StationPollMs = 500;
// A sensor counts as gone after this many polls in a row without an answer, so
// that one lost reply does not set it up twice.
inline constexpr int PollsBeforeGone = 3;

// Opens the port when it is closed, then the connection monitor's check: the
// port works and the sensor gives its factory number.
bool SensorAnswers(TSSICom& sensor, uint8_t port);

// Until the host asks to stop: waits for a sensor on `port`, applies the file
// with a commit (or skips a sensor done today unless `again`), then waits for
// the sensor to go. A stop request ends a wait at once; an apply runs to its end.
void RunStation(TSSICom& sensor, uint8_t port, const files::ParameterFile& file, bool again,
                StationHost& host);

}  // namespace station
