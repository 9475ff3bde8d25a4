#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/FlashMemory.h"
#include "sim/SensorTypes.h"

namespace sim {

// What the bootloader puts on the line: its bytes, when they start, and what
// the traffic log calls the message they answer.
struct BootloaderAnswer {
    std::string bytes;
    int64_t timeMs = 0;
    std::string received;
};

// The sensor's bootloader at 38400 baud. Reset by the switch to its speed, it
// sends its two identification bytes when the tool has sent nothing for a
// while; the tool's page records (address, page, checksum) are checked and
// written into the flash and answered 'r', 'b' (checksum), 'c' (inside the
// bootloader section); the end marker FF FF is answered '@'. Injected answers
// replace these one message at a time.
class BootloaderModel {
public:
    static constexpr int kBaud = 38400;
    // Longer than the tool's RTS pulse and the purge after it, so that the
    // identification never meets a download's first record.
    static constexpr int kIdentifyAfterIdleMs = 600;
    static constexpr int kPageWriteMs = 9;  // erase and write of one page
    static constexpr int kAnswerDelayMs = 1;
    // A pause this long between two bytes starts a new message.
    static constexpr int kResyncGapMs = 50;

    BootloaderModel(FlashMemory& flash, const Faults& faults) : flash_(flash), faults_(faults) {}

    void reset(int64_t timeMs);
    void stop();
    bool running() const { return running_; }

    // The answer a received byte completes, if any; true in `wrote` when a page was written.
    std::optional<BootloaderAnswer> receive(uint8_t byte, int64_t timeMs, bool& wrote);
    // The identification bytes once they are due by `untilMs`.
    std::optional<BootloaderAnswer> identificationDue(int64_t untilMs);
    std::optional<int64_t> identificationTime() const { return identifyAtMs_; }

private:
    int recordSize() const { return flash_.pageSize() + 3; }
    char evaluateRecord(bool& wrote);
    std::optional<BootloaderAnswer> answer(char natural, int64_t timeMs, int delayMs,
                                           std::string received);

    FlashMemory& flash_;
    const Faults& faults_;
    std::vector<uint8_t> message_;
    std::optional<int64_t> identifyAtMs_;
    int64_t lastByteMs_ = 0;
    size_t scripted_ = 0;
    bool running_ = false;
};

}  // namespace sim
