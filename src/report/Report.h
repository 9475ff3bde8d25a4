#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace report {

// A named text of a report, UTF-8.
using Parameter = std::pair<std::string, std::string>;
using Parameters = std::vector<Parameter>;

// A report to produce: its template's file name and the texts it receives.
struct ReportRequest {
    std::string templateName;
    uint8_t language = 0;
    Parameters parameters;
};

}  // namespace report
