#include "testmode/SampleRecorder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace testmode {

namespace {

constexpr size_t WriteAt = 16384;
constexpr mode_t FileMode = 0644;

}  // namespace

std::string RecordLine(const Reading& reading, int64_t startMs, bool halfMicrometres) {
    char fields[48];
    std::snprintf(fields, sizeof fields, "%lld,%08X,",
                  static_cast<long long>(reading.timeMs - startMs),
                  static_cast<unsigned>(reading.word));
    std::string line = fields;
    line += MillimetreText(Millimetres(reading.sample.position, halfMicrometres));
    line += ',';
    if (reading.sample.temperature) {
        line += std::to_string(*reading.sample.temperature);
    }
    return line;
}

SampleRecorder::~SampleRecorder() {
    Stop();
}

bool SampleRecorder::Start(const std::string& path) {
    Stop();
    error_.clear();
    samples_ = 0;
    path_ = path;
    startMs_.reset();
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, FileMode);
    if (fd_ < 0) {
        error_ = std::strerror(errno);
        return false;
    }
    buffer_ = std::string(Header) + "\n";
    return Flush();
}

void SampleRecorder::Add(const Reading& reading) {
    if (!Recording()) {
        return;
    }
    if (!startMs_) {
        startMs_ = reading.timeMs;
    }
    buffer_ += RecordLine(reading, *startMs_, halfMicrometres_);
    buffer_ += '\n';
    ++samples_;
    if (buffer_.size() >= WriteAt) {
        Flush();
    }
}

bool SampleRecorder::Flush() {
    size_t written = 0;
    while (Recording() && written < buffer_.size()) {
        const ssize_t n = ::write(fd_, buffer_.data() + written, buffer_.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            fail();
            return false;
        }
        written += size_t(n);
    }
    buffer_.clear();
    return Recording();
}

bool SampleRecorder::Stop() {
    if (!Recording()) {
        return false;
    }
    const bool flushed = Flush();
    if (flushed && ::close(fd_) != 0) {
        fd_ = -1;
        error_ = std::strerror(errno);
        return false;
    }
    fd_ = -1;
    return flushed;
}

void SampleRecorder::fail() {
    error_ = errno != 0 ? std::strerror(errno) : "nothing was written";
    ::close(fd_);
    fd_ = -1;
    buffer_.clear();
}

}  // namespace testmode
