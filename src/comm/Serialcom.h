#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/Clock.h"
#include "platform/ComPortMap.h"
#include "platform/SerialBackend.h"

// One serial port (COM n) leading to the programming adapter. Every operation
// blocks until done or timed out and returns a success flag; none throws.
class TSerialCom {
public:
    static constexpr uint8_t DemoPort = 0;

    TSerialCom(platform::SerialBackend& backend, platform::Clock& clock,
               const platform::ComPortMap& ports);
    virtual ~TSerialCom();
    TSerialCom(const TSerialCom&) = delete;
    TSerialCom& operator=(const TSerialCom&) = delete;

    bool Open(uint8_t port, int baudRate, int timeoutMs);
    bool OpenDefault(uint8_t port);  // 4800 baud, 50 ms: the command link
    bool Probe(uint8_t port);
    void Close();
    bool IsOpen() const;

    bool SetRts();
    bool ClearRts();
    bool Purge();  // discards both buffers, then pauses 10 ms
    bool ReadBytes(uint8_t* buffer, size_t n, size_t& received);
    // A pause on the link's clock.
    void Sleep(int milliseconds) { clock_.sleep(milliseconds); }
    // The time on the link's clock, in milliseconds.
    int64_t Now() { return clock_.now(); }
    bool WriteBytes(const uint8_t* buffer, size_t n);

    // After a failed ReadBytes: true when the request itself failed (closed port,
    // device error), false when the bytes just did not arrive in time.
    bool ReadRequestFailed() const { return readRequestFailed_; }

    uint8_t PortNumber() const { return portNumber_; }
    // Why the last Open or Probe failed, for messages to the user.
    const platform::SystemError& LastError() const { return backend_.lastError(); }

protected:
    platform::Clock& clock() { return clock_; }

private:
    platform::SerialBackend& backend_;
    platform::Clock& clock_;
    const platform::ComPortMap& ports_;
    uint8_t portNumber_ = DemoPort;
    bool readRequestFailed_ = false;
};
