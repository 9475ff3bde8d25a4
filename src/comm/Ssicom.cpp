#include "comm/Ssicom.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

namespace {
constexpr uint8_t CarriageReturn = 13;
constexpr int CommandPauseMs = 15;
// By then a reply has come and gone: its pauses and read time-out.
constexpr int CutCommandAnswerMs = 100;
constexpr int RtsPulseMs = 100;
constexpr int WakeLines = 35;
constexpr int WakeLinePauseMs = 20;
constexpr uint8_t WakeLine[] = {'P', 'R', 'O', 'G', CarriageReturn};
}  // namespace

TSSICom::TSSICom(platform::SerialBackend& backend, platform::Clock& clock,
                 const platform::ComPortMap& ports)
    : TSerialCom(backend, clock, ports) {}

bool TSSICom::SendCommand(const std::string& command) {
    if (IsDemo()) {
        return true;
    }
    std::vector<uint8_t> line(command.begin(), command.end());
    line.push_back(CarriageReturn);
    const bool written = EndCutCommand() && WriteLine(line.data(), line.size());
    Purge();
    if (written) {
        clock().sleep(CommandPauseMs);
    }
    return written;
}

bool TSSICom::WriteLine(const uint8_t* bytes, size_t count) {
    const bool wasOpen = IsOpen();
    const bool written = WriteBytes(bytes, count);
    commandCut_ = commandCut_ || (wasOpen && !written);
    return written;
}

// Whatever part of a cut command reached the sensor is ended on its own line,
// and what the sensor may answer to it is dropped.
bool TSSICom::EndCutCommand() {
    if (!commandCut_) {
        return true;
    }
    if (!WriteBytes(&CarriageReturn, 1)) {
        return false;
    }
    clock().sleep(CutCommandAnswerMs);
    Purge();
    commandCut_ = false;
    return true;
}

bool TSSICom::ReceiveReply(int length, std::string& target) {
    if (IsDemo()) {
        return true;
    }
    target.clear();
    if (length <= 0) {
        return false;
    }
    std::vector<uint8_t> reply(static_cast<size_t>(length));
    size_t received = 0;
    if (!ReadBytes(reply.data(), reply.size(), received) || received != reply.size()) {
        return false;
    }
    if (reply.back() != CarriageReturn) {
        SkipRestOfShiftedReply(reply);
        return false;
    }
    if (std::find(reply.begin(), reply.end(), 0) != reply.end()) {
        return false;
    }
    target.assign(reply.begin(), reply.end() - 1);
    return true;
}

// A carriage return before the last byte means the bytes read began with the end of an earlier
// reply, left over from a byte lost or added on the line: the rest of this reply is still on its
// way. Reading past its carriage return lets the next read start on a whole reply, instead of
// every following one being shifted in the same way.
void TSSICom::SkipRestOfShiftedReply(const std::vector<uint8_t>& reply) {
    if (std::find(reply.begin(), reply.end() - 1, CarriageReturn) != reply.end() - 1) {
        SkipPastCarriageReturn(static_cast<int>(reply.size()));
    }
}

bool TSSICom::SkipPastCarriageReturn(int maxBytes) {
    if (IsDemo())
        return true;
    for (int i = 0; i < maxBytes; ++i) {
        uint8_t byte = 0;
        size_t received = 0;
        if (!ReadBytes(&byte, 1, received) || received != 1)
            return false;
        if (byte == CarriageReturn)
            return true;
    }
    return false;
}

bool TSSICom::SendRaw(const uint8_t* bytes, size_t count) {
    if (IsDemo()) {
        return true;
    }
    const bool written = WriteBytes(bytes, count);
    Purge();
    return written;
}

bool TSSICom::WakeSensor() {
    SetRts();
    clock().sleep(RtsPulseMs);
    ClearRts();
    Purge();
    bool written = false;
    for (int i = 0; i < WakeLines; ++i) {
        written = WriteBytes(WakeLine, sizeof WakeLine);
        clock().sleep(WakeLinePauseMs);
    }
    return written;
}

bool TSSICom::CheckPort() {
    uint8_t byte = 0;
    size_t received = 0;
    if (ReadBytes(&byte, 1, received) || !ReadRequestFailed()) {
        return true;
    }
    Close();
    return OpenDefault(PortNumber());
}

uint32_t TSSICom::HexToInt(const std::string& text) {
    uint32_t sum = 0;
    uint32_t weight = 1;
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        const int c = std::tolower(static_cast<unsigned char>(*it));
        if (c >= '1' && c <= '9') {
            sum += static_cast<uint32_t>(c - '0') * weight;
        } else if (c >= 'a' && c <= 'f') {
            sum += static_cast<uint32_t>(c - 'a' + 10) * weight;
        }
        weight *= 16;
    }
    return sum;
}

int32_t TSSICom::PrefixedHexToInt(const std::string& text) {
    if (text.empty()) {
        return -1;
    }
    uint64_t value = 0;
    for (const char ch : text) {
        const int c = std::tolower(static_cast<unsigned char>(ch));
        const bool digit = c >= '0' && c <= '9';
        if (!digit && !(c >= 'a' && c <= 'f')) {
            return -1;
        }
        value = value * 16 + static_cast<uint64_t>(digit ? c - '0' : c - 'a' + 10);
        if (value > 0xFFFFFFFF) {
            return -1;
        }
    }
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

int32_t TSSICom::SignExtend24(uint32_t raw) {
    uint32_t value = raw & 0x00FFFFFF;
    if (value & 0x00800000) {
        value |= 0xFF000000;
    }
    return static_cast<int32_t>(value);
}

std::string TSSICom::ToHex(uint32_t value, int digits) {
    char text[24];
    std::snprintf(text, sizeof text, "%0*X", std::clamp(digits, 0, 16), value);
    return text;
}

std::string TSSICom::ToDecimal(int64_t value, int digits) {
    char text[40];
    std::snprintf(text, sizeof text, "%0*lld", std::clamp(digits, 0, 20),
                  static_cast<long long>(value));
    return text;
}
