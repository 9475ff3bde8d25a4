#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "comm/ParameterSet.h"

namespace cli {

// One register as the outputs show it.
struct RegisterRow {
    int index = 0;
    std::string key;
    int32_t value = 0;
    bool answered = false;
    bool modified = false;
    std::string reply;  // as the sensor sent it, Windows-1252
};

std::vector<RegisterRow> registerRows(const ParameterSet& set);

// A JSON string literal. The text is read as Windows-1252; everything outside
// printable ASCII is written as a \u escape, so the output is plain ASCII.
std::string jsonString(const std::string& text);
// A JSON string literal of UTF-8 text (as the system's device records and
// messages hold it): quotes, backslashes and control characters are escaped.
std::string jsonUtf8String(const std::string& text);

// {"port": ..., "firmwareType": N, "registers": [...]} on one line.
std::string parameterSetJson(const std::string& port, int firmwareType,
                             const std::vector<RegisterRow>& rows);

}  // namespace cli
