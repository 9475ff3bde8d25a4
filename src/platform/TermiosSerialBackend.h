#pragma once

#include <termios.h>

#include <optional>
#include <string>

#include "platform/Clock.h"
#include "platform/SerialBackend.h"
#include "platform/UniqueFd.h"

namespace platform {

// A serial device through termios and poll(). Time-outs are measured on the
// monotonic clock to the millisecond; termios VTIME (tenths of a second) is too
// coarse for a 50 ms command link.
class TermiosSerialBackend final : public SerialBackend {
public:
    TermiosSerialBackend() = default;
    ~TermiosSerialBackend() override;
    TermiosSerialBackend(const TermiosSerialBackend&) = delete;
    TermiosSerialBackend& operator=(const TermiosSerialBackend&) = delete;

    bool open(const std::string& devicePath, int baudRate, int timeoutMs) override;
    bool probe(const std::string& devicePath) override;
    void close() override;
    bool isOpen() const override { return fd_.valid(); }

    bool setRts(bool asserted) override;
    // On a pseudo-terminal only the receive side is flushed: flushing the
    // transmit side there also drops what the other end has not read yet.
    bool purge() override;
    bool read(uint8_t* buffer, size_t n, size_t& received) override;
    bool write(const uint8_t* buffer, size_t n) override;

    const SystemError& lastError() const override { return error_; }

    bool isPseudoTerminal() const { return pseudoTerminal_; }

private:
    // What one poll() on the open device reported.
    enum class Ready { Yes, TimedOut, Failed };

    bool fail(int code, const std::string& what);
    // Keeps errno and names the device: "<action> <path>: <reason>".
    bool failSystem(const char* action);
    bool failNotOpen();
    bool timedOut(const char* what);
    bool configure(const std::string& devicePath, int baudRate);
    Ready waitFor(short events, int64_t deadline);
    bool readAvailable(uint8_t* buffer, size_t n, size_t& received);
    bool drainOutput(int64_t deadline);

    UniqueFd fd_;
    SteadyClock clock_;
    std::string path_;
    int timeoutMs_ = 0;
    bool pseudoTerminal_ = false;
    SystemError error_;
};

// The termios speed constant for a baud rate, or nothing for a rate the
// platform does not name.
std::optional<speed_t> termiosSpeed(int baudRate);

// What to tell the user when a device cannot be opened: the path, the
// system's reason and, for a port in use or a permission error, what to do about it.
std::string openFailure(const std::string& devicePath, int code);

}  // namespace platform
