#include "JsonOutput.h"

#include <cstdio>

namespace cli {

namespace {

// Windows-1252 0x80 to 0x9F; the five unassigned bytes keep their C1 code point.
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

uint16_t codePoint(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F)
        return kCp1252High[byte - 0x80];
    return byte;
}

std::string unicodeEscape(uint16_t code) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\u%04X", unsigned(code));
    return buf;
}

std::string escaped(unsigned char byte) {
    switch (byte) {
        case '"':
            return "\\\"";
        case '\\':
            return "\\\\";
        default:
            break;
    }
    if (byte < 0x20 || byte >= 0x7F)
        return unicodeEscape(codePoint(byte));
    return std::string(1, char(byte));
}

std::string rowJson(const RegisterRow& row) {
    return "{\"index\": " + std::to_string(row.index) + ", \"key\": " + jsonString(row.key) +
           ", \"value\": " + std::to_string(row.value) +
           ", \"answered\": " + (row.answered ? "true" : "false") +
           ", \"modified\": " + (row.modified ? "true" : "false") +
           ", \"reply\": " + jsonString(row.reply) + "}";
}

}  // namespace

std::vector<RegisterRow> registerRows(const ParameterSet& set) {
    std::vector<RegisterRow> rows;
    for (int r = 0; r < ParameterSet::RegisterCount; ++r) {
        const auto index = ParameterSet::RegisterIndex(r);
        const ParameterSet::DataElement& element = set[index];
        rows.push_back({r, ParameterSet::RegisterKey(index), element.Value, element.Answered != 0,
                        element.Modified != 0, element.Reply});
    }
    return rows;
}

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (char c : text)
        out += escaped(static_cast<unsigned char>(c));
    return out + "\"";
}

std::string parameterSetJson(const std::string& port, int firmwareType,
                             const std::vector<RegisterRow>& rows) {
    std::string out = "{\"port\": " + jsonString(port) +
                      ", \"firmwareType\": " + std::to_string(firmwareType) + ", \"registers\": [";
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i > 0)
            out += ", ";
        out += rowJson(rows[i]);
    }
    return out + "]}";
}

}  // namespace cli
