#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "comm/LinkMode.h"
#include "firmware/FirmwareImage.h"
#include "firmware/Messages.h"
#include "firmware/Target.h"

class TSSICom;
namespace platform {
class Clock;
}

namespace firmware {

// The bootloader's link and what it answers.
inline constexpr int BootloaderBaud = comm::BootloaderLink.baudRate;
inline constexpr int IdentificationPauseMs = 75;
inline constexpr int SendingsPerRecord = 11;
inline constexpr uint8_t AnswerAccepted = 'r';
inline constexpr uint8_t AnswerFlashError = 'f';
inline constexpr uint8_t AnswerChecksumError = 'b';
inline constexpr uint8_t AnswerInsideBootloader = 'c';
inline constexpr uint8_t AnswerDownloadDone = '@';
inline constexpr uint8_t EndMarker[] = {0xFF, 0xFF};

struct Identification {
    std::optional<Message> failure;
    std::vector<std::string> lines;  // for the status list
    bool bootloaderFound() const { return !failure; }
};

// Activates the bootloader on the command link, reads its two identification
// bytes at the bootloader's speed and sets the target from them. Ends on the
// command link again, except when the port could not be reopened.
Identification identifyBootloader(TSSICom& link, platform::Clock& clock, TargetDescription& target);

// The failure message a record's last answer stands for; nothing for 'r'.
Message recordFailure(std::optional<uint8_t> lastAnswer);

// What the download tells its caller while it runs.
struct DownloadHooks {
    std::function<void(const std::string& line)> log = [](const std::string&) {};
    // No wake-up and no version: true goes on, without insisting on the activation.
    std::function<bool()> retryWithoutVersion = [] { return false; };
    // The bootloader link is up and the records follow.
    std::function<void(int imageLength)> transferStarts = [](int) {};
    std::function<void(int bytesSent)> progress = [](int) {};
    std::function<bool()> interrupted = [] { return false; };
};

struct DownloadResult {
    std::optional<Message> message;  // none when the user cancelled
    int sendings = 0;                // records sent, repetitions included
    int failedRecord = 0;            // from 1; 0 when no record failed
    bool succeeded() const { return message == Message::DownloadSucceeded; }
};

// Sends the image to the bootloader record by record and ends on the command
// link at 4800 baud. Refuses, without sending anything, an empty image and one
// whose last page ends beyond the application area.
class Download {
public:
    Download(TSSICom& link, DownloadHooks hooks);

    DownloadResult run(const FirmwareImage& image, const TargetDescription& target);

private:
    bool wakeAndShowVersion();
    std::optional<Message> openBootloaderLink(bool insistOnActivation);
    std::optional<Message> sendRecord(std::span<const uint8_t> record);
    std::optional<Message> sendRecords(const FirmwareImage& image, int& failedRecord);
    Message finish();
    std::optional<uint8_t> sendAndRead(const uint8_t* bytes, size_t count);
    void backToCommandLink();
    void log(const std::string& line);

    TSSICom& link_;
    DownloadHooks hooks_;
    uint8_t port_ = 0;
    int sendings_ = 0;
};

}  // namespace firmware
