#include "TermiosSerialBackend.h"

#include <fcntl.h>
#include <linux/major.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/FdWait.h"

namespace platform {

namespace {

constexpr int kDrainCheckMs = 1;

constexpr std::pair<int, speed_t> kSpeeds[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

std::string reason(int code) {
    return std::strerror(code);
}

// Opens the device and takes the advisory lock that every Varnel program
// honours; a device someone else holds reports EBUSY.
UniqueFd openLocked(const std::string& path, int& code) {
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid()) {
        code = errno;
        return fd;
    }
    if (!isatty(fd.get())) {
        code = ENOTTY;
        return UniqueFd();
    }
    if (flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        code = errno == EWOULDBLOCK ? EBUSY : errno;
        return UniqueFd();
    }
    code = 0;
    return fd;
}

bool isPtySlave(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode))
        return false;
    const unsigned m = major(st.st_rdev);
    const bool unix98 =
        m >= UNIX98_PTY_SLAVE_MAJOR && m < UNIX98_PTY_SLAVE_MAJOR + UNIX98_PTY_MAJOR_COUNT;
    return unix98 || m == PTY_SLAVE_MAJOR;
}

void makeRaw8N1(termios& tio) {
    cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    tio.c_iflag |= IGNBRK;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
}

// Returns 0 or the errno of the refused request.
int applyLineSettings(int fd, speed_t speed) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0)
        return errno;
    makeRaw8N1(tio);
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
    return tcsetattr(fd, TCSANOW, &tio) == 0 ? 0 : errno;
}

// Not every driver offers these; a refusal changes nothing for the link.
void dropModemLines(int fd) {
    int lines = TIOCM_DTR | TIOCM_RTS;
    ioctl(fd, TIOCMBIC, &lines);
}

void requestLowLatency(int fd) {
    serial_struct info{};
    if (ioctl(fd, TIOCGSERIAL, &info) != 0)
        return;
    info.flags |= ASYNC_LOW_LATENCY;
    ioctl(fd, TIOCSSERIAL, &info);
}

}  // namespace

std::string openFailure(const std::string& devicePath, int code) {
    std::string text = "Cannot open " + devicePath + ": " + reason(code);
    if (code == EBUSY)
        text += ". Another program is using this port; close it, or choose another port.";
    if (code == EACCES || code == EPERM) {
        text +=
            ". The user account must be in the 'dialout' group "
            "(sudo usermod -aG dialout $USER, then log in again).";
    }
    return text;
}

std::optional<speed_t> termiosSpeed(int baudRate) {
    for (const auto& [rate, speed] : kSpeeds) {
        if (rate == baudRate)
            return speed;
    }
    return std::nullopt;
}

TermiosSerialBackend::~TermiosSerialBackend() {
    close();
}

bool TermiosSerialBackend::fail(int code, const std::string& what) {
    error_ = {code, what};
    return false;
}

bool TermiosSerialBackend::failSystem(const char* action) {
    const int code = errno;
    return fail(code, std::string(action) + " " + path_ + ": " + reason(code));
}

bool TermiosSerialBackend::failNotOpen() {
    return fail(EBADF, "The port is not open");
}

bool TermiosSerialBackend::timedOut(const char* what) {
    error_ = {0, std::string(what) + " on " + path_ + " timed out"};
    return false;
}

bool TermiosSerialBackend::open(const std::string& devicePath, int baudRate, int timeoutMs) {
    close();
    error_ = {};
    int code = 0;
    UniqueFd fd = openLocked(devicePath, code);
    if (!fd.valid())
        return fail(code, openFailure(devicePath, code));
    fd_ = std::move(fd);
    path_ = devicePath;
    if (!configure(devicePath, baudRate)) {
        close();
        return false;
    }
    timeoutMs_ = std::max(timeoutMs, 0);
    return true;
}

bool TermiosSerialBackend::configure(const std::string& devicePath, int baudRate) {
    const int fd = fd_.get();
    const auto speed = termiosSpeed(baudRate);
    if (!speed) {
        return fail(EINVAL, "Cannot open " + devicePath + ": unsupported baud rate " +
                                std::to_string(baudRate));
    }
    ioctl(fd, TIOCEXCL);
    if (const int code = applyLineSettings(fd, *speed)) {
        return fail(code, openFailure(devicePath, code));
    }
    pseudoTerminal_ = isPtySlave(fd);
    dropModemLines(fd);
    requestLowLatency(fd);
    tcflush(fd, TCIOFLUSH);
    return true;
}

bool TermiosSerialBackend::probe(const std::string& devicePath) {
    error_ = {};
    int code = 0;
    UniqueFd fd = openLocked(devicePath, code);
    if (!fd.valid())
        return fail(code, openFailure(devicePath, code));
    return true;
}

void TermiosSerialBackend::close() {
    if (!fd_.valid())
        return;
    ioctl(fd_.get(), TIOCNXCL);
    fd_.reset();
    pseudoTerminal_ = false;
}

bool TermiosSerialBackend::setRts(bool asserted) {
    if (!isOpen())
        return failNotOpen();
    error_ = {};
    int lines = TIOCM_RTS;
    if (ioctl(fd_.get(), asserted ? TIOCMBIS : TIOCMBIC, &lines) != 0) {
        return failSystem("Cannot switch RTS on");
    }
    return true;
}

bool TermiosSerialBackend::purge() {
    if (!isOpen())
        return failNotOpen();
    error_ = {};
    const int queue = pseudoTerminal_ ? TCIFLUSH : TCIOFLUSH;
    if (tcflush(fd_.get(), queue) != 0) {
        return failSystem("Cannot purge");
    }
    return true;
}

TermiosSerialBackend::Ready TermiosSerialBackend::waitFor(short events, int64_t deadline) {
    const FdWait wait = WaitForFd(fd_.get(), events, deadline, clock_);
    if (wait == FdWait::PollError)
        failSystem("Cannot wait for");
    if (wait == FdWait::Broken) {
        errno = EIO;
        failSystem("Lost the connection to");
    }
    if (wait == FdWait::Ready)
        return Ready::Yes;
    return wait == FdWait::TimedOut ? Ready::TimedOut : Ready::Failed;
}

bool TermiosSerialBackend::readAvailable(uint8_t* buffer, size_t n, size_t& received) {
    const ssize_t got = ::read(fd_.get(), buffer + received, n - received);
    if (got > 0) {
        received += size_t(got);
        return true;
    }
    if (got < 0 && (errno == EAGAIN || errno == EINTR))
        return true;
    if (got == 0)
        errno = EIO;
    return failSystem("Cannot read from");
}

bool TermiosSerialBackend::read(uint8_t* buffer, size_t n, size_t& received) {
    received = 0;
    if (!isOpen())
        return failNotOpen();
    error_ = {};
    // No gap between bytes can outlast the time since the read began, so the
    // whole read's time-out is the only one that can end it.
    const int64_t deadline = clock_.now() + timeoutMs_;
    while (received < n) {
        const Ready ready = waitFor(POLLIN, deadline);
        if (ready == Ready::TimedOut)
            return timedOut("Reading");
        if (ready == Ready::Failed)
            return false;
        if (!readAvailable(buffer, n, received))
            return false;
    }
    return true;
}

bool TermiosSerialBackend::write(const uint8_t* buffer, size_t n) {
    if (!isOpen())
        return failNotOpen();
    error_ = {};
    const int64_t deadline = clock_.now() + timeoutMs_;
    size_t sent = 0;
    while (sent < n) {
        const ssize_t put = ::write(fd_.get(), buffer + sent, n - sent);
        if (put > 0) {
            sent += size_t(put);
            continue;
        }
        if (put < 0 && errno != EAGAIN && errno != EINTR) {
            return failSystem("Cannot write to");
        }
        const Ready ready = waitFor(POLLOUT, deadline);
        if (ready == Ready::TimedOut)
            return timedOut("Writing");
        if (ready == Ready::Failed)
            return false;
    }
    return drainOutput(deadline);
}

// tcdrain() may block without limit, so the output queue is watched until it is
// empty or the deadline passes. Only then, on a real line, tcdrain() waits for
// the driver's last character, which its own driver bounds by the character time.
bool TermiosSerialBackend::drainOutput(int64_t deadline) {
    for (;;) {
        int pending = 0;
        if (ioctl(fd_.get(), TIOCOUTQ, &pending) != 0) {
            return failSystem("Cannot write to");
        }
        if (pending == 0)
            break;
        if (clock_.now() >= deadline)
            return timedOut("Writing");
        clock_.sleep(kDrainCheckMs);
    }
    if (!pseudoTerminal_ && tcdrain(fd_.get()) != 0) {
        return failSystem("Cannot write to");
    }
    return true;
}

}  // namespace platform
