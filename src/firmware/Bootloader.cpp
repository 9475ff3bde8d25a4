#include "firmware/Bootloader.h"

#include "comm/Ssicom.h"
#include "platform/Clock.h"

namespace firmware {

namespace {

void describe(const ChipInfo& chip, uint8_t bootloaderCode, const TargetDescription& target,
              std::vector<std::string>& lines) {
    lines.push_back(lines::communicationOk());
    lines.push_back(lines::microcontroller(chip.name));
    const auto bootloader = bootloaderByCode(bootloaderCode);
    if (!bootloader)
        return;
    lines.push_back(lines::bootloaderSize(bootloader->words));
    lines.push_back(lines::applicationSize(
        applicationWords(target.pageSize, target.applicationPages, *bootloader)));
}

}  // namespace

Identification identifyBootloader(TSSICom& link, platform::Clock& clock,
                                  TargetDescription& target) {
    comm::LinkMode bootloader(link, comm::BootloaderLink);
    if (!link.EnterBootloader())
        return {Message::ActivateBootloaderFailed, {}};
    if (!bootloader.Enter())
        return {Message::PortNotAvailable, {}};
    clock.sleep(IdentificationPauseMs);
    uint8_t codes[2] = {0, 0};
    size_t received = 0;
    link.ReadBytes(codes, sizeof codes, received);
    bootloader.Leave();
    if (!identifyTarget(codes[0], codes[1], target))
        return {Message::NoSensorFound, {}};
    Identification result;
    describe(*chipByCode(codes[0]), codes[1], target, result.lines);
    return result;
}

Message recordFailure(std::optional<uint8_t> lastAnswer) {
    if (!lastAnswer)
        return Message::NoAnswer;
    switch (*lastAnswer) {
        case AnswerFlashError:
            return Message::FlashError;
        case AnswerChecksumError:
            return Message::ChecksumError;
        case AnswerInsideBootloader:
            return Message::InsideBootloader;
        default:
            return Message::UndefinedAnswer;
    }
}

Download::Download(TSSICom& link, DownloadHooks hooks) : link_(link), hooks_(std::move(hooks)) {}

DownloadResult Download::run(const FirmwareImage& image, const TargetDescription& target) {
    if (image.pages == 0)
        return {Message::PleaseLoadFile, 0};
    if (!image.fits(target))
        return {Message::FileTooBig, 0};
    log(lines::bytesTotal(image.bytesTotal));
    port_ = link_.PortNumber();
    sendings_ = 0;
    const bool versionShown = wakeAndShowVersion();
    if (!versionShown && !hooks_.retryWithoutVersion())
        return {std::nullopt, 0};
    if (const auto failure = openBootloaderLink(versionShown))
        return {failure, 0};
    hooks_.transferStarts(image.length());
    int failedRecord = 0;
    if (const auto failure = sendRecords(image, failedRecord)) {
        backToCommandLink();
        return {failure, sendings_, failedRecord};
    }
    return {finish(), sendings_};
}

bool Download::wakeAndShowVersion() {
    link_.Close();
    link_.OpenDefault(port_);
    if (!link_.WakeSensor() && !link_.ReadRegister(TSSICom::FirmwareVersion))
        return false;
    log(lines::oldFirmware(link_[TSSICom::FirmwareVersion].Reply));
    return true;
}

std::optional<Message> Download::openBootloaderLink(bool insistOnActivation) {
    if (!link_.EnterBootloader() && insistOnActivation)
        return Message::ActivateBootloaderFailed;
    if (!comm::LinkMode(link_, comm::BootloaderLink).Enter())
        return Message::PortNotAvailable;
    return std::nullopt;
}

std::optional<Message> Download::sendRecords(const FirmwareImage& image, int& failedRecord) {
    for (int k = 0; k < image.pages; ++k) {
        if (const auto failure = sendRecord(image.record(k))) {
            failedRecord = k + 1;
            return failure;
        }
        hooks_.progress((k + 1) * image.recordSize());
    }
    return std::nullopt;
}

// The answers to the first ten sendings decide; the eleventh sending's 'r'
// still completes the page, since the bootloader has confirmed it.
std::optional<Message> Download::sendRecord(std::span<const uint8_t> record) {
    std::optional<uint8_t> last;
    for (int sending = 1; sending <= SendingsPerRecord; ++sending) {
        if (hooks_.interrupted())
            return Message::Interrupted;
        if (const auto answer = sendAndRead(record.data(), record.size()))
            last = answer;
        if (last == AnswerAccepted)
            return std::nullopt;
    }
    return recordFailure(last);
}

Message Download::finish() {
    const auto answer = sendAndRead(EndMarker, sizeof EndMarker);
    backToCommandLink();
    const bool done = answer == AnswerDownloadDone;
    log(done ? lines::updateSucceeded() : lines::updateFailed());
    return done ? Message::DownloadSucceeded : Message::UndefinedError;
}

std::optional<uint8_t> Download::sendAndRead(const uint8_t* bytes, size_t count) {
    ++sendings_;
    link_.SendRaw(bytes, count);
    uint8_t answer = 0;
    size_t received = 0;
    if (!link_.ReadBytes(&answer, 1, received))
        return std::nullopt;
    return answer;
}

void Download::backToCommandLink() {
    comm::LinkMode(link_, comm::BootloaderLink).Leave();
}

void Download::log(const std::string& line) {
    hooks_.log(line);
}

}  // namespace firmware
