#include "comm/Serialcom.h"

namespace {
constexpr int DefaultBaudRate = 4800;
constexpr int DefaultTimeoutMs = 50;
constexpr int PurgePauseMs = 10;
}  // namespace

TSerialCom::TSerialCom(platform::SerialBackend& backend, platform::Clock& clock,
                       const platform::ComPortMap& ports)
    : backend_(backend), clock_(clock), ports_(ports) {}

TSerialCom::~TSerialCom() {
    Close();
}

bool TSerialCom::Open(uint8_t port, int baudRate, int timeoutMs) {
    Close();
    portNumber_ = port;
    if (port == DemoPort) {
        return false;
    }
    const std::string path = ports_.devicePath(port);
    return !path.empty() && backend_.open(path, baudRate, timeoutMs);
}

bool TSerialCom::OpenDefault(uint8_t port) {
    return Open(port, DefaultBaudRate, DefaultTimeoutMs);
}

bool TSerialCom::Probe(uint8_t port) {
    if (port == DemoPort) {
        return false;
    }
    const std::string path = ports_.devicePath(port);
    return !path.empty() && backend_.probe(path);
}

void TSerialCom::Close() {
    if (backend_.isOpen()) {
        backend_.close();
    }
}

bool TSerialCom::IsOpen() const {
    return backend_.isOpen();
}

bool TSerialCom::SetRts() {
    return IsOpen() && backend_.setRts(true);
}

bool TSerialCom::ClearRts() {
    return IsOpen() && backend_.setRts(false);
}

bool TSerialCom::Purge() {
    if (!IsOpen() || !backend_.purge()) {
        return false;
    }
    clock_.sleep(PurgePauseMs);
    return true;
}

bool TSerialCom::ReadBytes(uint8_t* buffer, size_t n, size_t& received) {
    received = 0;
    if (!IsOpen()) {
        readRequestFailed_ = true;
        return false;
    }
    const bool complete = backend_.read(buffer, n, received) && received == n;
    readRequestFailed_ = !complete && backend_.lastError().code != 0;
    return complete;
}

bool TSerialCom::WriteBytes(const uint8_t* buffer, size_t n) {
    return IsOpen() && backend_.write(buffer, n);
}
