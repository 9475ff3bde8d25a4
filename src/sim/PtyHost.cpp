#include "sim/PtyHost.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <utility>

namespace sim {

namespace {

constexpr size_t kReadChunk = 256;

constexpr std::pair<speed_t, int> kSpeeds[] = {
    {B300, 300},       {B600, 600},       {B1200, 1200},     {B2400, 2400},   {B4800, 4800},
    {B9600, 9600},     {B19200, 19200},   {B38400, 38400},   {B57600, 57600}, {B115200, 115200},
    {B230400, 230400}, {B460800, 460800}, {B921600, 921600},
};

[[noreturn]] void throwErrno(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

platform::UniqueFd openMaster() {
    platform::UniqueFd master(posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!master.valid())
        throwErrno("posix_openpt");
    if (grantpt(master.get()) != 0 || unlockpt(master.get()) != 0)
        throwErrno("unlockpt");
    const int flags = fcntl(master.get(), F_GETFL);
    if (flags < 0 || fcntl(master.get(), F_SETFL, flags | O_NONBLOCK) != 0)
        throwErrno("fcntl");
    return master;
}

std::string slaveName(int master) {
    char name[128];
    if (ptsname_r(master, name, sizeof name) != 0)
        throwErrno("ptsname_r");
    return name;
}

// Raw 8N1 at the command link's speed, so that a client that sets nothing
// still talks to the sensor.
void makeRaw(int slave) {
    termios tio{};
    if (tcgetattr(slave, &tio) != 0)
        throwErrno("tcgetattr");
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    cfsetspeed(&tio, B4800);
    if (tcsetattr(slave, TCSANOW, &tio) != 0)
        throwErrno("tcsetattr");
}

}  // namespace

int baudRateOf(unsigned speed) {
    for (const auto& [constant, baud] : kSpeeds)
        if (constant == speed)
            return baud;
    return 0;
}

PtyHost::PtyHost(SimulatedSensor& sensor, platform::Clock& clock, bool paced)
    : sensor_(sensor), clock_(clock), master_(openMaster()), paced_(paced) {
    slavePath_ = slaveName(master_.get());
    slave_.reset(::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!slave_.valid())
        throwErrno("open pty slave");
    makeRaw(slave_.get());
    followBaudRate();
}

void PtyHost::serve(int maxWaitMs) {
    pollfd fd{master_.get(), POLLIN, 0};
    const int ready = poll(&fd, 1, waitTimeMs(maxWaitMs));
    followBaudRate();
    if (ready > 0 && (fd.revents & POLLIN))
        receiveAvailable();
    transmitDue();
}

int PtyHost::waitTimeMs(int maxWaitMs) {
    const auto next = sensor_.nextOutputTime();
    if (!next)
        return maxWaitMs;
    return int(std::clamp<int64_t>(*next - clock_.now(), 0, maxWaitMs));
}

void PtyHost::followBaudRate() {
    termios tio{};
    if (tcgetattr(slave_.get(), &tio) != 0)
        return;
    if (const int baud = baudRateOf(cfgetospeed(&tio)); baud != 0)
        sensor_.setBaudRate(baud, clock_.now());
}

// A byte written to the pseudo-terminal is there at once; on the real line it
// arrives 10 bit times after the previous one.
int64_t PtyHost::arrivalMs(int64_t nowMs) {
    const int baud = sensor_.baudRate();
    if (!paced_ || baud <= 0)
        return nowMs;
    inputFreeUs_ =
        std::max(inputFreeUs_, nowMs * 1000) + (kBitsPerByte * 1000000 + baud - 1) / baud;
    return (inputFreeUs_ + 999) / 1000;
}

void PtyHost::receiveAvailable() {
    uint8_t buffer[kReadChunk];
    const ssize_t n = ::read(master_.get(), buffer, sizeof buffer);
    const int64_t now = clock_.now();
    for (ssize_t i = 0; i < n; ++i)
        sensor_.receive(buffer[i], arrivalMs(now));
}

// Bytes nobody reads are lost, as on a line without a listener.
void PtyHost::transmitDue() {
    std::string due;
    for (const TimedByte& b : sensor_.takeOutput(clock_.now()))
        due.push_back(char(b.byte));
    if (!due.empty() && ::write(master_.get(), due.data(), due.size()) < 0 && errno != EAGAIN)
        throwErrno("write to pty");
}

}  // namespace sim
