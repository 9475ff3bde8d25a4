#include "FileOutput.h"

#include <cstdio>

#include "JsonOutput.h"
#include "comm/ParameterSet.h"
#include "platform/Windows1252.h"

namespace cli {

namespace {

std::string keyOf(int index) {
    return ParameterSet::RegisterKey(ParameterSet::RegisterIndex(index));
}

std::string jsonValue(const std::optional<int32_t>& value) {
    return value ? std::to_string(*value) : "null";
}

std::string shownValue(const std::optional<int32_t>& value) {
    return value ? std::to_string(*value) : "(none)";
}

std::string row(const std::string& index, const std::string& key, const std::string& first,
                const std::string& second = "") {
    char line[160];
    std::snprintf(line, sizeof line, "%3s  %-19s %12s %12s", index.c_str(), key.c_str(),
                  first.c_str(), second.c_str());
    std::string text = line;
    text.erase(text.find_last_not_of(' ') + 1);
    return text + "\n";
}

std::string indented(const std::string& text) {
    std::string out = "  ";
    for (const char c : text) {
        if (c == '\r')
            continue;
        out += c;
        if (c == '\n')
            out += "  ";
    }
    return out + "\n";
}

}  // namespace

std::string parameterFileJson(const files::ParameterFile& file) {
    std::string out = "{\"header\": " + jsonString(file.header) +
                      ", \"date\": " + jsonString(files::DateText(file.date)) +
                      ", \"setSize\": " + std::to_string(file.setSize) + ", \"values\": [";
    for (size_t i = 0; i < file.values.size(); ++i) {
        if (i > 0)
            out += ", ";
        out += "{\"index\": " + std::to_string(i) + ", \"key\": " + jsonString(keyOf(int(i))) +
               ", \"value\": " + std::to_string(file.values[i]) + "}";
    }
    return out + "]}";
}

std::string parameterFileTable(const std::string& path, const files::ParameterFile& file) {
    std::string out = "File " + path + ", saved " + files::DateText(file.date) + ", set size " +
                      std::to_string(file.setSize) + " (" + std::to_string(file.values.size()) +
                      " values)\n";
    out += indented(platform::DecodeWindows1252(file.header));
    out += row("#", "Key", "Value");
    for (size_t i = 0; i < file.values.size(); ++i)
        out += row(std::to_string(i), keyOf(int(i)), std::to_string(file.values[i]));
    return out;
}

std::vector<Difference> differingValues(const std::vector<int32_t>& first,
                                        const std::vector<int32_t>& second,
                                        const std::vector<bool>& compared) {
    std::vector<Difference> found;
    const auto valueAt = [](const std::vector<int32_t>& values, size_t i) {
        return i < values.size() ? std::optional<int32_t>(values[i]) : std::nullopt;
    };
    for (size_t i = 0; i < std::max(first.size(), second.size()); ++i) {
        if (i < compared.size() && !compared[i])
            continue;
        const Difference difference{int(i), valueAt(first, i), valueAt(second, i)};
        if (difference.first != difference.second)
            found.push_back(difference);
    }
    return found;
}

std::string differencesJson(const std::string& first, const std::string& second,
                            const std::vector<Difference>& differences,
                            const std::vector<std::string>& notCompared) {
    std::string out = "{\"first\": " + jsonString(first) + ", \"second\": " + jsonString(second) +
                      ", \"differences\": [";
    for (size_t i = 0; i < differences.size(); ++i) {
        const Difference& d = differences[i];
        out += (i > 0 ? ", " : "");
        out += "{\"index\": " + std::to_string(d.index) +
               ", \"key\": " + jsonString(keyOf(d.index)) + ", \"first\": " + jsonValue(d.first) +
               ", \"second\": " + jsonValue(d.second) + "}";
    }
    out += "], \"notCompared\": [";
    for (size_t i = 0; i < notCompared.size(); ++i)
        out += (i > 0 ? ", " : "") + jsonString(notCompared[i]);
    return out + "]}";
}

std::string differencesTable(const std::string& first, const std::string& second,
                             const std::vector<Difference>& differences,
                             const std::vector<std::string>& notCompared) {
    std::string out;
    if (differences.empty()) {
        out = "No differences between " + first + " and " + second + "\n";
    } else {
        out = row("#", "Key", first, second);
        for (const Difference& d : differences)
            out += row(std::to_string(d.index), keyOf(d.index), shownValue(d.first),
                       shownValue(d.second));
    }
    if (!notCompared.empty()) {
        out += "Not compared, the sensor did not answer:";
        for (const std::string& key : notCompared)
            out += " " + key;
        out += "\n";
    }
    return out;
}

}  // namespace cli
