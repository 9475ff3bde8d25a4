#include "TableOutput.h"

#include <cstdio>

#include "RegisterInput.h"

namespace cli {

namespace {

std::string line(const char* index, const char* key, const std::string& value,
                 const std::string& reply, const char* state) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "%3s  %-20s %-12s %-10s %s", index, key, value.c_str(),
                  reply.c_str(), state);
    std::string text = buf;
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text + "\n";
}

// Replies may hold any byte; the table shows only printable ASCII.
std::string printable(std::string text) {
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F)
            c = '?';
    }
    return text;
}

std::string state(const ParameterSet::DataElement& element) {
    std::string text = element.Answered ? "" : "no answer";
    if (element.Modified)
        text += text.empty() ? "modified" : ", modified";
    return text;
}

}  // namespace

std::string parameterSetTable(const std::string& port, const ParameterSet& set) {
    std::string out = "Sensor on " + port + ", firmware " +
                      std::to_string(set.FirmwareVersionNumber()) + " (type " +
                      std::to_string(set.FirmwareType()) + ")\n\n";
    out += line("#", "Key", "Value", "Reply", "");
    for (int r = 0; r < ParameterSet::RegisterCount; ++r) {
        const auto index = ParameterSet::RegisterIndex(r);
        const ParameterSet::DataElement& element = set[index];
        out += line(std::to_string(r).c_str(), ParameterSet::RegisterKey(index),
                    printable(displayValue(index, element)), printable(element.Reply),
                    state(element).c_str());
    }
    return out;
}

}  // namespace cli
