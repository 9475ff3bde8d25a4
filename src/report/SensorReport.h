#pragma once

#include <cstdint>
#include <string>

#include "comm/ParameterSet.h"
#include "report/Report.h"

// The sensor report: a summary of the sensor's parameters as named texts that
// a report template lays out.
namespace report {

// Every parameter of the sensor report in the order it is set, from the register
// table as last read or written and from what the parameter view shows of it.
// `language`: 0 English, 1 German. `programTitle` ends in the program's version.
Parameters SensorReportParameters(const ParameterSet& set, uint8_t language,
                                  const std::string& programTitle);

}  // namespace report
