#pragma once

#include <cstdint>
#include <string>

#include "comm/Ssicom.h"
#include "platform/PortListing.h"

namespace search {

// What one port gave when it was tried for a sensor.
struct PortOutcome {
    enum class Result { Found, NoSensor, NotOpened };
    platform::PortEntry port;
    Result result = Result::NoSensor;
    std::string factoryNumber;  // Found: as the sensor sent it
    std::string model;          // Found: "K-Series SSI (KBF)"; empty when the model did not answer
    platform::SystemError error;  // NotOpened: why
};

// Tries one port with the poll's own presence check: opens it on the command
// link, discards what was waiting, checks the port and reads the factory number,
// then the model; closes the port again and puts its line settings back. Reads
// only: nothing on the sensor changes, and in `link` only its register table.
PortOutcome TryPort(TSSICom& link, const platform::PortEntry& port);

}  // namespace search
