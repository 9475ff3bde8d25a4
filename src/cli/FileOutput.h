#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "files/ParameterFile.h"

namespace cli {

// {"header": ..., "date": "2014-03-07", "setSize": 888, "values": [{"index": 0,
// "key": "Resolution", "value": 5}, ...]} on one line.
std::string parameterFileJson(const files::ParameterFile& file);

// The file for people: its date, set size, header text and one line per value.
std::string parameterFileTable(const std::string& path, const files::ParameterFile& file);

// A register whose values differ; a side without the register has no value.
struct Difference {
    int index = 0;
    std::optional<int32_t> first;
    std::optional<int32_t> second;
};

// Registers 0 to the longer list's end whose values differ, leaving out those
// that `compared` says no to.
std::vector<Difference> differingValues(const std::vector<int32_t>& first,
                                        const std::vector<int32_t>& second,
                                        const std::vector<bool>& compared = {});

// {"first": ..., "second": ..., "differences": [{"index", "key", "first", "second"}],
// "notCompared": [keys]}, a missing value as null.
std::string differencesJson(const std::string& first, const std::string& second,
                            const std::vector<Difference>& differences,
                            const std::vector<std::string>& notCompared);
std::string differencesTable(const std::string& first, const std::string& second,
                             const std::vector<Difference>& differences,
                             const std::vector<std::string>& notCompared);

}  // namespace cli
