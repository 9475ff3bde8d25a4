#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// The reason the operating system gave for the last failed request.
struct SystemError {
    int code = 0;  // errno, 0 when there was none
    std::string message;
};

// One serial device. Reads and writes block under the time-out given to open():
// a read returns when n bytes arrived, when no byte came for t ms, or when t ms
// passed since the read began, whichever comes first; a write gives up after t ms.
class SerialBackend {
public:
    virtual ~SerialBackend() = default;

    // Raw 8N1, no flow control, DTR and RTS inactive, exclusive.
    virtual bool open(const std::string& devicePath, int baudRate, int timeoutMs) = 0;
    // Opens the device exclusively and closes it again at once; changes nothing.
    virtual bool probe(const std::string& devicePath) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    virtual bool setRts(bool asserted) = 0;
    // Discards what was received and not yet read (and, on a real line, what was not yet sent).
    virtual bool purge() = 0;
    // Reports in `received` how many bytes arrived; true only when all n did.
    // lastError().code is non-zero after a read only when the request itself
    // failed, not on a time-out.
    virtual bool read(uint8_t* buffer, size_t n, size_t& received) = 0;
    // Returns once the bytes have left the driver, or false after the time-out.
    virtual bool write(const uint8_t* buffer, size_t n) = 0;

    virtual const SystemError& lastError() const = 0;
};

}  // namespace platform
