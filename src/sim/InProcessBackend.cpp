#include "sim/InProcessBackend.h"

#include <cerrno>
#include <cstring>

namespace sim {

InProcessBackend::InProcessBackend(SimulatedSensor& sensor, platform::VirtualClock& clock,
                                   std::string devicePath)
    : sensor_(sensor), clock_(clock), devicePath_(std::move(devicePath)) {}

bool InProcessBackend::fail(int code, const std::string& what) {
    error_ = {code, what + ": " + std::strerror(code)};
    ++failedRequests;
    return false;
}

bool InProcessBackend::usable() {
    error_ = {};
    if (!open_)
        return fail(EBADF, devicePath_);
    if (unplugged(clock_.now()))
        return fail(EIO, devicePath_);
    return true;
}

bool InProcessBackend::deviceAvailable(const std::string& devicePath) {
    error_ = {};
    if (unplugged(clock_.now()) || devicePath != devicePath_)
        return fail(ENOENT, devicePath);
    if (busy || open_)
        return fail(EBUSY, devicePath);
    return true;
}

bool InProcessBackend::open(const std::string& devicePath, int baudRate, int timeoutMs) {
    if (!deviceAvailable(devicePath))
        return false;
    if (baudRate <= 0 || timeoutMs < 0)
        return fail(EINVAL, devicePath);
    const int64_t now = clock_.now();
    sensor_.takeOutput(now);
    received_.clear();
    sensor_.setBaudRate(baudRate, now);
    sensor_.setRts(false, now);
    baudRate_ = baudRate;
    timeoutMs_ = timeoutMs;
    open_ = true;
    return true;
}

bool InProcessBackend::probe(const std::string& devicePath) {
    return deviceAvailable(devicePath);
}

void InProcessBackend::close() {
    if (!open_)
        return;
    open_ = false;
    received_.clear();
    if (!unplugged(clock_.now()))
        sensor_.setRts(false, clock_.now());
}

bool InProcessBackend::setRts(bool asserted) {
    if (!usable())
        return false;
    sensor_.setRts(asserted, clock_.now());
    return true;
}

bool InProcessBackend::purge() {
    if (!usable())
        return false;
    collect(clock_.now());
    received_.clear();
    return true;
}

void InProcessBackend::collect(int64_t untilMs) {
    for (const TimedByte& b : sensor_.takeOutput(untilMs))
        if (!unplugged(b.timeMs))
            received_.push_back(b.byte);
}

bool InProcessBackend::read(uint8_t* buffer, size_t n, size_t& received) {
    received = 0;
    if (!usable())
        return false;
    const int64_t deadline = clock_.now() + timeoutMs_;
    collect(clock_.now());
    while (received < n) {
        if (!received_.empty()) {
            buffer[received++] = received_.front();
            received_.pop_front();
            continue;
        }
        const auto next = sensor_.nextOutputTime();
        if (!next || *next > deadline)
            break;
        clock_.advanceTo(*next);
        collect(*next);
    }
    if (received < n)
        clock_.advanceTo(deadline);
    return received == n;
}

bool InProcessBackend::write(const uint8_t* buffer, size_t n) {
    if (!usable())
        return false;
    const int64_t startUs = clock_.now() * 1000;
    int64_t arrivalMs = clock_.now();
    for (size_t i = 0; i < n; ++i) {
        const int64_t endUs =
            startUs + (int64_t(i + 1) * kBitsPerByte * 1000000 + baudRate_ - 1) / baudRate_;
        arrivalMs = (endUs + 999) / 1000;
        if (unplugged(arrivalMs)) {
            clock_.advanceTo(arrivalMs);
            return fail(EIO, devicePath_);  // the device vanished while the bytes went out
        }
        sensor_.receive(buffer[i], arrivalMs);
    }
    clock_.advanceTo(arrivalMs);
    return true;
}

void InProcessBackend::unplug() {
    unplugged_ = true;
}

void InProcessBackend::plugIn() {
    unplugged_ = false;
}

void InProcessBackend::unplugBetween(int64_t fromMs, int64_t untilMs) {
    unpluggedFromMs_ = fromMs;
    unpluggedUntilMs_ = untilMs;
}

bool InProcessBackend::unplugged(int64_t atMs) const {
    return unplugged_ || (atMs >= unpluggedFromMs_ && atMs < unpluggedUntilMs_);
}

}  // namespace sim
