#include "PortCommands.h"

#include <string>

#include "ExitCode.h"
#include "Interrupt.h"
#include "JsonOutput.h"
#include "platform/NetworkPort.h"

namespace cli {

namespace {

using Result = search::PortOutcome::Result;

std::string jsonOrNull(const std::string& text) {
    return text.empty() ? "null" : jsonUtf8String(text);
}

std::string orDash(const std::string& text) {
    return text.empty() ? "-" : text;
}

std::string portName(const platform::PortEntry& port) {
    return "COM" + std::to_string(port.number);
}

std::string usbIds(const platform::PortDescription& described) {
    if (described.vendorId.empty() && described.productId.empty())
        return {};
    return orDash(described.vendorId) + ":" + orDash(described.productId);
}

const char* resultWord(Result result) {
    switch (result) {
        case Result::Found:
            return "found";
        case Result::NoSensor:
            return "no sensor";
        case Result::NotOpened:
            break;
    }
    return "not opened";
}

template <typename Item, typename Format>
void printArray(const std::vector<Item>& items, Format format, std::ostream& out) {
    out << "[";
    for (size_t i = 0; i < items.size(); ++i)
        out << (i == 0 ? "" : ", ") << format(items[i]);
    out << "]\n";
}

}  // namespace

std::vector<platform::PortEntry> ListedPorts(const platform::ComPortMap& ports) {
    return platform::ListPorts(ports, [](const platform::PortEntry& entry) {
        return platform::isNetworkPortText(entry.devicePath) ||
               platform::DeviceExists(entry.devicePath);
    });
}

std::string PortLine(const platform::PortEntry& port, const platform::PortDescription& described) {
    std::string line = portName(port) + "\t" + port.devicePath;
    if (!described.known())
        return line;
    for (const std::string& field : {described.byIdPath, usbIds(described), described.vendor,
                                     described.product, described.serial, described.driver}) {
        line += "\t" + orDash(field);
    }
    return line;
}

std::string PortJson(const platform::PortEntry& port, const platform::PortDescription& described) {
    return "{\"port\": " + jsonUtf8String(portName(port)) +
           ", \"device\": " + jsonUtf8String(port.devicePath) +
           ", \"byId\": " + jsonOrNull(described.byIdPath) +
           ", \"vendorId\": " + jsonOrNull(described.vendorId) +
           ", \"productId\": " + jsonOrNull(described.productId) +
           ", \"vendor\": " + jsonOrNull(described.vendor) +
           ", \"product\": " + jsonOrNull(described.product) +
           ", \"serial\": " + jsonOrNull(described.serial) +
           ", \"driver\": " + jsonOrNull(described.driver) + "}";
}

void PrintPorts(const std::vector<platform::PortEntry>& ports, bool json, std::ostream& out) {
    if (json) {
        printArray(
            ports,
            [](const platform::PortEntry& port) {
                return PortJson(port, platform::DescribePort(port.devicePath));
            },
            out);
        return;
    }
    for (const auto& port : ports)
        out << PortLine(port, platform::DescribePort(port.devicePath)) << "\n";
}

std::string OutcomeLine(const search::PortOutcome& outcome) {
    std::string line = portName(outcome.port) + "\t" + outcome.port.devicePath + "\t";
    switch (outcome.result) {
        case Result::Found:
            return line + "sensor " + outcome.factoryNumber + "\t" + orDash(outcome.model);
        case Result::NoSensor:
            return line + "no sensor";
        case Result::NotOpened:
            break;
    }
    return line + outcome.error.message;
}

std::string OutcomeJson(const search::PortOutcome& outcome) {
    const bool found = outcome.result == Result::Found;
    const bool failed = outcome.result == Result::NotOpened;
    return "{\"port\": " + jsonUtf8String(portName(outcome.port)) +
           ", \"device\": " + jsonUtf8String(outcome.port.devicePath) +
           ", \"result\": " + jsonUtf8String(resultWord(outcome.result)) +
           ", \"factoryNumber\": " + (found ? jsonUtf8String(outcome.factoryNumber) : "null") +
           ", \"model\": " + (found ? jsonOrNull(outcome.model) : "null") +
           ", \"error\": " + (failed ? jsonUtf8String(outcome.error.message) : "null") + "}";
}

int SensorFinder::find(const std::vector<platform::PortEntry>& ports, bool json,
                       const InterruptFlag* interrupt) {
    std::vector<search::PortOutcome> outcomes;
    for (const auto& port : ports) {
        if (interrupt != nullptr && interrupt->raised()) {
            err_ << "find: interrupted; " << outcomes.size() << " of " << ports.size()
                 << " ports tried\n";
            return SensorFailure;
        }
        if (json)
            err_ << "Trying " << portName(port) << " (" << port.devicePath << ")\n";
        outcomes.push_back(search::TryPort(link_, port));
        if (!json)
            out_ << OutcomeLine(outcomes.back()) << std::endl;
    }
    if (json)
        printArray(outcomes, OutcomeJson, out_);
    for (const auto& outcome : outcomes) {
        if (outcome.result == Result::Found)
            return Success;
    }
    err_ << "No sensor answered on "
         << (ports.size() == 1 ? "the one port"
                               : "any of the " + std::to_string(ports.size()) + " ports")
         << " tried\n";
    return SensorFailure;
}

}  // namespace cli
