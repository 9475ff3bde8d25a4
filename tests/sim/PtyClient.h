#pragma once

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>

namespace simtest {

// The program's side of a pseudo-terminal: opened like a serial port, raw 8N1.
class PtyClient {
public:
    explicit PtyClient(const std::string& path, speed_t speed = B4800)
        : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
        if (fd_ >= 0)
            setSpeed(speed);
    }
    ~PtyClient() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    PtyClient(const PtyClient&) = delete;
    PtyClient& operator=(const PtyClient&) = delete;

    bool isOpen() const { return fd_ >= 0; }

    void setSpeed(speed_t speed) {
        termios tio{};
        tcgetattr(fd_, &tio);
        cfmakeraw(&tio);
        tio.c_cflag |= CLOCAL | CREAD;
        cfsetspeed(&tio, speed);
        tcsetattr(fd_, TCSANOW, &tio);
    }

    bool send(const std::string& command) {
        const std::string wire = command + "\r";
        return ::write(fd_, wire.data(), wire.size()) == ssize_t(wire.size());
    }

    // Discards what has arrived and not been read, as a port's purge does.
    void purge() { tcflush(fd_, TCIFLUSH); }

    // Collects bytes until a carriage return or until `timeoutMs` passed;
    // `idle` runs between the checks (to let a host in the same thread work).
    std::string readLine(int timeoutMs, const std::function<void()>& idle = {}) {
        return readUntil(timeoutMs, idle, [](const std::string& text) {
            return !text.empty() && text.back() == '\r';
        });
    }

    // Collects `n` bytes, or what arrived within `timeoutMs`; bytes beyond `n` are dropped.
    std::string read(size_t n, int timeoutMs, const std::function<void()>& idle = {}) {
        std::string text =
            readUntil(timeoutMs, idle, [n](const std::string& text) { return text.size() >= n; });
        return text.substr(0, n);
    }

private:
    std::string readUntil(int timeoutMs, const std::function<void()>& idle,
                          const std::function<bool(const std::string&)>& done) {
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        std::string text;
        while (Clock::now() < deadline && !done(text)) {
            if (idle)
                idle();
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, idle ? 0 : 5) <= 0)
                continue;
            char buffer[64];
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n > 0)
                text.append(buffer, size_t(n));
        }
        return text;
    }

    int fd_;
};

}  // namespace simtest
