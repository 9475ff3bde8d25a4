#pragma once

#include <ostream>
#include <vector>

#include "comm/SensorSearch.h"
#include "comm/Ssicom.h"
#include "platform/ComPortMap.h"
#include "platform/PortDescription.h"
#include "platform/PortListing.h"

namespace cli {

class InterruptFlag;

// The ports that ports lists and find tries: those whose device exists.
std::vector<platform::PortEntry> ListedPorts(const platform::ComPortMap& ports);

// ports: one line per port, "COMn<TAB>path", followed by the stable name, the USB
// ids as vendor:product, vendor, product, serial number and driver ("-" where
// unknown) when the system knows the device; --json gives one array of objects.
void PrintPorts(const std::vector<platform::PortEntry>& ports, bool json, std::ostream& out);
std::string PortLine(const platform::PortEntry& port, const platform::PortDescription& described);
std::string PortJson(const platform::PortEntry& port, const platform::PortDescription& described);

// find: tries each port in turn, printing one line per port as it is done (or,
// with --json, one array at the end). Exit code 0 when a sensor answered, 1 otherwise
// or when interrupted.
class SensorFinder {
public:
    SensorFinder(TSSICom& link, std::ostream& out, std::ostream& err)
        : link_(link), out_(out), err_(err) {}

    int find(const std::vector<platform::PortEntry>& ports, bool json,
             const InterruptFlag* interrupt = nullptr);

private:
    TSSICom& link_;
    std::ostream& out_;
    std::ostream& err_;
};

std::string OutcomeLine(const search::PortOutcome& outcome);
std::string OutcomeJson(const search::PortOutcome& outcome);

}  // namespace cli
