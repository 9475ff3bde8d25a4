#include "sim/BootloaderModel.h"

#include <utility>

#include "sim/WireText.h"

namespace sim {

namespace {

constexpr uint8_t kEndByte = 0xFF;
constexpr char kAccepted = 'r';
constexpr char kChecksumError = 'b';
constexpr char kInsideBootloader = 'c';
constexpr char kDone = '@';
constexpr char kSilence = '.';

}  // namespace

void BootloaderModel::reset(int64_t timeMs) {
    running_ = true;
    message_.clear();
    identifyAtMs_ = timeMs + kIdentifyAfterIdleMs;
}

void BootloaderModel::stop() {
    running_ = false;
    identifyAtMs_.reset();
}

std::optional<BootloaderAnswer> BootloaderModel::identificationDue(int64_t untilMs) {
    if (!identifyAtMs_ || *identifyAtMs_ > untilMs)
        return std::nullopt;
    const int64_t at = *std::exchange(identifyAtMs_, std::nullopt);
    return BootloaderAnswer{flash_.chip(), at, "reset"};
}

std::optional<BootloaderAnswer> BootloaderModel::receive(uint8_t byte, int64_t timeMs,
                                                         bool& wrote) {
    wrote = false;
    if (identifyAtMs_ && timeMs < *identifyAtMs_)
        identifyAtMs_.reset();
    if (timeMs - lastByteMs_ > kResyncGapMs)
        message_.clear();
    lastByteMs_ = timeMs;
    message_.push_back(byte);
    if (message_.size() == 2 && message_[0] == kEndByte && message_[1] == kEndByte) {
        message_.clear();
        return answer(kDone, timeMs, kAnswerDelayMs, "end marker");
    }
    if (message_.size() < size_t(recordSize()))
        return std::nullopt;
    const std::string received = "record " + wiretext::hex(message_[0] << 8 | message_[1], 4);
    const char natural = evaluateRecord(wrote);
    message_.clear();
    return answer(natural, timeMs, wrote ? kPageWriteMs : kAnswerDelayMs, received);
}

char BootloaderModel::evaluateRecord(bool& wrote) {
    const int pageSize = flash_.pageSize();
    const int address = message_[0] << 8 | message_[1];
    uint8_t sum = 0;
    for (int i = 0; i < pageSize; ++i)
        sum = uint8_t(sum + message_[size_t(2 + i)]);
    if (sum != message_[size_t(2 + pageSize)])
        return kChecksumError;
    const int page = address / pageSize;
    if (page >= flash_.applicationPages())
        return kInsideBootloader;
    flash_.writePage(page, std::span(message_).subspan(2, size_t(pageSize)));
    wrote = true;
    return kAccepted;
}

std::optional<BootloaderAnswer> BootloaderModel::answer(char natural, int64_t timeMs, int delayMs,
                                                        std::string received) {
    const std::string& script = faults_.bootloaderAnswers;
    const char given = scripted_ < script.size() ? script[scripted_++] : natural;
    if (given == kSilence)
        return BootloaderAnswer{"", timeMs, std::move(received)};
    return BootloaderAnswer{std::string(1, given), timeMs + delayMs, std::move(received)};
}

}  // namespace sim
