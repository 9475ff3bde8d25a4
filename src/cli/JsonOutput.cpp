#include "JsonOutput.h"

#include <cstdio>

#include "platform/Windows1252.h"

namespace cli {

namespace {

std::string unicodeEscape(char32_t code) {
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
        return unicodeEscape(platform::Windows1252CodePoint(byte));
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

std::string jsonUtf8String(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        out += byte >= 0x80 ? std::string(1, c) : escaped(byte);
    }
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
