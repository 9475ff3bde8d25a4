#include "sim/TrafficLog.h"

#include <cstdio>

namespace sim {

namespace {

const char* label(TrafficEntry::Kind kind) {
    switch (kind) {
        case TrafficEntry::Kind::Command:
            return "RX";
        case TrafficEntry::Kind::Reply:
            return "TX";
        case TrafficEntry::Kind::Rts:
            return "RTS";
        default:
            return "BAUD";
    }
}

std::string printable(const std::string& text) {
    std::string shown;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            shown.push_back(char(c));
            continue;
        }
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
        shown += escaped;
    }
    return shown;
}

}  // namespace

std::string formatTrafficLine(const TrafficEntry& entry, int64_t originMs) {
    char head[64];
    std::snprintf(head, sizeof head, "%10lld ms %7d baud  %-4s ",
                  static_cast<long long>(entry.timeMs - originMs), entry.baudRate,
                  label(entry.kind));
    return head + printable(entry.text);
}

}  // namespace sim
