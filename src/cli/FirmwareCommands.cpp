#include "FirmwareCommands.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "ExitCode.h"
#include "Interrupt.h"
#include "JsonOutput.h"
#include "ProgressBar.h"
#include "comm/SensorRules.h"
#include "comm/Ssicom.h"
#include "firmware/Bootloader.h"
#include "firmware/Messages.h"

namespace cli {

namespace {

using namespace firmware;

std::string said(Message id) {
    return message(id).text;
}

std::string captionedMessage(Message id) {
    return captioned(message(id));
}

std::vector<int> badChecksumLines(const std::vector<HexLine>& lines) {
    std::vector<int> bad;
    for (const HexLine& line : lines) {
        if (!line.checksumValid())
            bad.push_back(line.lineNumber);
    }
    return bad;
}

std::string badLineList(const std::vector<int>& lines) {
    std::string list;
    for (const int line : lines)
        list += (list.empty() ? "" : ", ") + std::to_string(line);
    return list;
}

std::string inspectJson(const Invocation& invocation, const ChipInfo& chip, const ImageBuild& build,
                        int applicationPages, bool tooBig) {
    const FirmwareImage& image = build.image;
    std::string badLines;
    for (const int line : build.badChecksumLines)
        badLines += (badLines.empty() ? "" : ",") + std::to_string(line);
    std::ostringstream json;
    json << "{\"file\": " << jsonString(invocation.file) << ", \"chip\": " << jsonString(chip.name)
         << ", \"bootloaderWords\": " << invocation.bootloaderWords
         << ", \"applicationPages\": " << applicationPages << ", \"pages\": " << image.pages
         << ", \"bytesTotal\": " << image.bytesTotal
         << ", \"bytesToWrite\": " << image.bytesToWrite()
         << ", \"wordsToWrite\": " << image.bytesToWrite() / 2 << ", \"badLines\": [" << badLines
         << "], \"tooBig\": " << (tooBig ? "true" : "false") << "}";
    return json.str();
}

}  // namespace

int FirmwareCommands::inspect(const Invocation& invocation) {
    const auto chip = chipByName(invocation.chip);
    const auto bootloader = bootloaderByWords(invocation.bootloaderWords);
    TargetDescription target;
    if (!chip || !bootloader || !identifyTarget(chip->code, bootloader->code, target))
        return UsageError;
    const auto text = readFile(invocation.file);
    if (!text)
        return FileFailure;
    const ImageBuild build = loadImage(*text, target);
    if (build.error != ImageError::None) {
        err_ << invocation.file << ": " << imageErrorMessage(build.error, build.errorLine).text
             << "\n";
        return FileFailure;
    }
    const bool tooBig = !build.image.fits(target);
    if (invocation.json) {
        out_ << inspectJson(invocation, *chip, build, target.applicationPages, tooBig) << "\n";
    } else {
        out_ << lines::microcontroller(chip->name) << "\n"
             << lines::bootloaderSize(bootloader->words) << "\n";
        reportImage(build.image);
        out_ << "Bad lines: "
             << (build.badChecksumLines.empty() ? "none" : badLineList(build.badChecksumLines))
             << "\n"
             << "Too big: " << (tooBig ? "yes, " : "no, ") << target.applicationPages
             << " application pages\n";
    }
    return build.badChecksumLines.empty() && !tooBig ? Success : FileFailure;
}

int FirmwareCommands::identify(TSSICom& com, platform::Clock& clock) {
    TargetDescription target;
    return identifyInto(com, clock, target) ? Success : SensorFailure;
}

bool FirmwareCommands::identifyInto(TSSICom& com, platform::Clock& clock,
                                    TargetDescription& target) {
    const Identification found = identifyBootloader(com, clock, target);
    if (found.failure) {
        err_ << captionedMessage(*found.failure) << "\n";
        return false;
    }
    for (const std::string& line : found.lines)
        out_ << line << "\n";
    return true;
}

int FirmwareCommands::flash(TSSICom& com, platform::Clock& clock, const Invocation& invocation,
                            std::istream& answers) {
    const auto text = readFile(invocation.file);
    if (!text)
        return FileFailure;
    const auto lines = checkedLines(invocation.file, *text);
    if (!lines)
        return FileFailure;
    const int code = flashChecked(com, clock, invocation, *lines, answers);
    if (log_ != nullptr)
        log_->done(history::Operation::FirmwareDownload, code == Success, invocation.file, false);
    return code;
}

int FirmwareCommands::flashChecked(TSSICom& com, platform::Clock& clock,
                                   const Invocation& invocation, const std::vector<HexLine>& lines,
                                   std::istream& answers) {
    if (com.ReadRegister(TSSICom::FirmwareVersion) &&
        !rules::AcceptsFirmwareImage(com.FirmwareVersionNumber())) {
        err_ << said(Message::TypeNotSupported) << " (firmware " << com.FirmwareVersionNumber()
             << ")\n";
        return SensorFailure;
    }
    // The identification and the download put the sensor into its bootloader;
    // both take it back out before an interruption ends the program.
    const InterruptFlag interrupt;
    TargetDescription target;
    if (!identifyInto(com, clock, target))
        return SensorFailure;
    const auto image = load(invocation.file, lines, target);
    if (!image)
        return FileFailure;
    if (interrupt.raised() || !confirmed(invocation, image->pages, answers)) {
        err_ << "Firmware update cancelled\n";
        return SensorFailure;
    }
    return download(com, *image, target, interrupt);
}

std::optional<std::string> FirmwareCommands::readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (in)
        text << in.rdbuf();
    if (!in) {
        err_ << "Cannot read " << path << ": " << std::strerror(errno) << "\n";
        return std::nullopt;
    }
    return text.str();
}

std::optional<std::vector<HexLine>> FirmwareCommands::checkedLines(const std::string& path,
                                                                   const std::string& text) {
    HexFile file = parseHexFile(text);
    if (file.error != ImageError::None) {
        err_ << path << ": " << imageErrorMessage(file.error, file.errorLine).text << "\n";
        return std::nullopt;
    }
    if (const auto bad = badChecksumLines(file.lines); !bad.empty()) {
        err_ << path << ": " << said(Message::ChecksumInvalid) << " (lines " << badLineList(bad)
             << ")\n";
        return std::nullopt;
    }
    return std::move(file.lines);
}

std::optional<FirmwareImage> FirmwareCommands::load(const std::string& path,
                                                    const std::vector<HexLine>& lines,
                                                    const TargetDescription& target) {
    const ImageBuild build = buildImage(lines, target);
    if (build.error != ImageError::None) {
        err_ << path << ": " << imageErrorMessage(build.error, build.errorLine).text << "\n";
        return std::nullopt;
    }
    if (!build.image.fits(target)) {
        err_ << path << ": " << said(Message::FileTooBig) << " (" << build.image.pages
             << " pages from address " << build.image.firstAddress << ", "
             << target.applicationPages << " application pages)\n";
        return std::nullopt;
    }
    reportImage(build.image);
    return build.image;
}

void FirmwareCommands::reportImage(const FirmwareImage& image) {
    out_ << lines::pages(image.pages) << "\n"
         << lines::bytesTotalInfo(image.bytesTotal) << "\n"
         << lines::bytesToWrite(image.bytesToWrite()) << "\n"
         << lines::wordsToWrite(image.bytesToWrite() / 2) << "\n";
}

bool FirmwareCommands::confirmed(const Invocation& invocation, int pages, std::istream& answers) {
    if (invocation.yes)
        return true;
    err_ << "Write " << pages << " pages of " << invocation.file
         << " into the sensor's flash? [y/N] " << std::flush;
    std::string answer;
    return std::getline(answers, answer) && (answer == "y" || answer == "Y" || answer == "yes");
}

int FirmwareCommands::download(TSSICom& com, const FirmwareImage& image,
                               const TargetDescription& target, const InterruptFlag& interrupt) {
    ProgressBar bar(out_, terminal_);
    DownloadHooks hooks;
    hooks.log = [this](const std::string& line) { out_ << line << "\n"; };
    hooks.transferStarts = [&](int length) { bar.start(length); };
    hooks.progress = [&](int bytes) { bar.show(bytes); };
    hooks.interrupted = [&] { return interrupt.raised(); };
    const DownloadResult result = Download(com, hooks).run(image, target);
    bar.finish();
    if (result.succeeded()) {
        out_ << said(Message::DownloadSucceeded) << " " << image.pages
             << " pages confirmed by the bootloader in " << result.sendings - 1
             << " sendings, and the end marker\n";
        return Success;
    }
    if (result.message == Message::Interrupted) {
        com.WakeSensor();
        err_ << said(Message::Interrupted)
             << " The sensor is back on the command link; its program is incomplete until it "
                "is flashed again.\n";
        return SensorFailure;
    }
    err_ << captionedMessage(result.message.value_or(Message::VersionUnreadable));
    if (result.failedRecord > 0)
        err_ << " (record " << result.failedRecord << " of " << image.pages << ")";
    err_ << "\n";
    return SensorFailure;
}

}  // namespace cli
