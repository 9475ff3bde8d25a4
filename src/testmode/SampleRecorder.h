#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "testmode/StreamDecoding.h"

namespace testmode {

// Writes every sample to a CSV file: the milliseconds since the recording's
// first sample, the raw word in hex, the position in mm and the temperature when the
// sensor sends one. Lines are buffered and written at least at each Flush; a
// failed write closes the file and ends the recording with the system's reason.
class SampleRecorder {
public:
    static constexpr const char* Header = "time_ms,raw,position_mm,temperature";

    explicit SampleRecorder(bool halfMicrometres) : halfMicrometres_(halfMicrometres) {}
    ~SampleRecorder();
    SampleRecorder(const SampleRecorder&) = delete;
    SampleRecorder& operator=(const SampleRecorder&) = delete;

    // Creates or empties the file and writes the header. False, with Error()
    // telling why, when the file cannot be written.
    bool Start(const std::string& path);
    void Add(const Reading& reading);
    // Writes what is buffered; false when the write failed and ended the recording.
    bool Flush();
    // Writes the rest and closes the file; false when that failed.
    bool Stop();

    bool Recording() const { return fd_ >= 0; }
    long Samples() const { return samples_; }
    const std::string& Path() const { return path_; }
    // The system's reason for the last failure; empty when none.
    const std::string& Error() const { return error_; }
    void ForgetError() { error_.clear(); }

private:
    void fail();

    bool halfMicrometres_;
    int fd_ = -1;
    std::optional<int64_t> startMs_;
    long samples_ = 0;
    std::string path_;
    std::string buffer_;
    std::string error_;
};

// One line of the recording, without its line end.
std::string RecordLine(const Reading& reading, int64_t startMs, bool halfMicrometres);

}  // namespace testmode
