#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "comm/Ssicom.h"
#include "firmware/Bootloader.h"
#include "firmware/FirmwareImage.h"
#include "firmware/Targets.h"
#include "platform/Clock.h"
#include "platform/ComPortMap.h"
#include "sim/InProcessBackend.h"
#include "sim/SimulatedSensor.h"
#include "support/HexText.h"

namespace {

using namespace firmware;
using sim::TrafficEntry;
using testsupport::countingBytes;
using testsupport::hexFile;

FirmwareImage image(size_t bytes, const char* chip = "BX", uint16_t address = 0) {
    return loadImage(hexFile(countingBytes(bytes), address), target(chip)).image;
}

sim::SensorConfig chip(const std::string& codes) {
    sim::SensorConfig config;
    config.chip = codes;
    return config;
}

sim::SensorConfig version(int firmwareVersion) {
    sim::SensorConfig config;
    config.firmwareVersion = firmwareVersion;
    return config;
}

// A TSSICom on COM1, wired to a simulated sensor on virtual time.
struct SimLink {
    explicit SimLink(const sim::SensorConfig& config = {}) : sensor(config) { com.OpenDefault(1); }

    std::vector<std::string> entries(TrafficEntry::Kind kind) const {
        std::vector<std::string> texts;
        for (const TrafficEntry& e : sensor.traffic()) {
            if (e.kind == kind)
                texts.push_back(e.text);
        }
        return texts;
    }
    std::vector<std::string> commands() const { return entries(TrafficEntry::Kind::Command); }

    platform::VirtualClock clock;
    sim::SimulatedSensor sensor;
    sim::InProcessBackend backend{sensor, clock};
    platform::ComPortMap ports;
    TSSICom com{backend, clock, ports};
};

// A download on a simulated sensor, recording what the hooks were told.
struct DownloadRun {
    explicit DownloadRun(const sim::SensorConfig& config = {}, const std::string& answers = "")
        : link(config) {
        link.sensor.faults().bootloaderAnswers = answers;
    }

    DownloadResult run(const FirmwareImage& image, const TargetDescription& t) {
        DownloadHooks hooks;
        hooks.log = [this](const std::string& line) { lines.push_back(line); };
        hooks.transferStarts = [this](int length) {
            gaugeMax = length;
            transferMs = link.clock.now();
        };
        hooks.progress = [this](int bytes) { progress.push_back(bytes); };
        const DownloadResult result = Download(link.com, hooks).run(image, t);
        transferMs = link.clock.now() - transferMs;
        return result;
    }

    SimLink link;
    std::vector<std::string> lines;
    std::vector<int> progress;
    int gaugeMax = 0;
    int64_t transferMs = 0;
};

TEST(Identification, TheTwoBytesComeAfterThePulseAndThePauseAndSetTheTarget) {
    struct Case {
        const char* chip;
        const char* name;
        const char* sizes[2];
    };
    const Case cases[] = {
        {"BX", "ATMega8515", {"Size Bootloader: 256 words", "Size Application: 3834 words"}},
        {"CZ", "ATMega162", {"Size Bootloader: 1024 words", "Size Application: 7168 words"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chip);
        SimLink link(chip(c.chip));
        TargetDescription t;
        const Identification id = identifyBootloader(link.com, link.clock, t);
        ASSERT_TRUE(id.bootloaderFound());
        EXPECT_EQ(id.lines, (std::vector<std::string>{"Kommunikation ok!",
                                                      std::string("Microcontroller: ") + c.name,
                                                      c.sizes[0], c.sizes[1]}));
        EXPECT_EQ(t.recordSize, target(c.chip).recordSize);
        EXPECT_EQ(link.commands(), (std::vector<std::string>{"BN", ""}));
        EXPECT_EQ(link.entries(TrafficEntry::Kind::Baud),
                  (std::vector<std::string>{"38400", "4800"}));
        EXPECT_EQ(link.entries(TrafficEntry::Kind::Reply), std::vector<std::string>{c.chip});
        const auto& log = link.sensor.traffic();
        const auto at = [&](TrafficEntry::Kind kind, const std::string& text) {
            for (const auto& e : log)
                if (e.kind == kind && e.text == text)
                    return e.timeMs;
            return int64_t(-1);
        };
        EXPECT_EQ(at(TrafficEntry::Kind::Rts, "0") - at(TrafficEntry::Kind::Rts, "1"), 500);
        EXPECT_EQ(link.backend.baudRate(), 4800);
        EXPECT_FALSE(link.sensor.mode() == sim::SensorMode::Bootloader);
    }
}

TEST(Identification, NoBootloaderAnswerMeansNoSensorAndTheCommandLinkAgain) {
    SimLink link;
    link.sensor.faults().refusedCommands = {"BN"};
    TargetDescription t = target("CX");
    const Identification id = identifyBootloader(link.com, link.clock, t);
    EXPECT_EQ(id.failure, Message::NoSensorFound);
    EXPECT_EQ(t.pageSize, 128) << "the earlier description stays";
    EXPECT_EQ(link.backend.baudRate(), 4800);
    EXPECT_EQ(link.backend.timeoutMs(), 50);
}

TEST(Download, ThreeRecordsAcceptedAndTheAtSignEndIt) {
    DownloadRun d;
    const FirmwareImage img = image(3 * 64, "BX", 0x0200);
    const DownloadResult result = d.run(img, target("BX"));
    EXPECT_TRUE(result.succeeded());
    EXPECT_EQ(result.sendings, 4);
    EXPECT_EQ(d.gaugeMax, 201);
    EXPECT_EQ(d.progress, (std::vector<int>{67, 134, 201}));
    EXPECT_EQ(d.lines.back(), "Firmware update erfolgreich ...");
    EXPECT_EQ(d.lines.front(), "Bytes total: 192 Bytes");
    for (int k = 0; k < 3; ++k) {
        const auto page = d.link.sensor.flash().page(8 + k);
        const auto record = img.record(k);
        EXPECT_TRUE(std::equal(page.begin(), page.end(), record.begin() + 2)) << k;
    }
    const auto commands = d.link.commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "PROG"), 35);
    EXPECT_EQ(commands[commands.size() - 6], "BN");
    EXPECT_EQ(
        std::vector<std::string>(commands.end() - 4, commands.end()),
        (std::vector<std::string>{"record 0200", "record 0240", "record 0280", "end marker"}));
    EXPECT_EQ(d.link.entries(TrafficEntry::Kind::Reply).back(), "@");
    EXPECT_EQ(d.link.backend.baudRate(), 4800);
    EXPECT_EQ(d.link.sensor.mode(), sim::SensorMode::Command);
}

TEST(Download, AnswersOtherThanRRepeatTheRecordUpToElevenSendings) {
    struct Case {
        const char* answers;
        Message message;
        int sendings;
        int failedRecord;
    };
    const Case cases[] = {
        {"bbbbbbbbbbb", Message::ChecksumError, 11, 1},
        {"fffffr", Message::DownloadSucceeded, 6 + 2 + 1, 0},
        {"bbbbbbbbbbr", Message::DownloadSucceeded, 11 + 2 + 1, 0},
        {"bbbbbbbbbb.", Message::ChecksumError, 11, 1},
        {"fffffffffff", Message::FlashError, 11, 1},
        {"ccccccccccc", Message::InsideBootloader, 11, 1},
        {"xxxxxxxxxxx", Message::UndefinedAnswer, 11, 1},
        {"rrbbbbbbbbbbb", Message::ChecksumError, 2 + 11, 3},
        {"rrrx", Message::UndefinedError, 4, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answers);
        DownloadRun d({}, c.answers);
        const DownloadResult result = d.run(image(3 * 64), target("BX"));
        EXPECT_EQ(result.message, c.message);
        EXPECT_EQ(result.sendings, c.sendings);
        EXPECT_EQ(result.failedRecord, c.failedRecord);
        EXPECT_EQ(d.link.backend.baudRate(), 4800);
    }
    DownloadRun wrongEnd({}, "rrrx");
    wrongEnd.run(image(3 * 64), target("BX"));
    EXPECT_EQ(wrongEnd.lines.back(), "Firmware update fehlgeschlagen ...");
}

TEST(Download, ASilentBootloaderFailsAfterElevenSendingsOfAboutFourSecondsEach) {
    DownloadRun d({}, std::string(11, '.'));
    const DownloadResult result = d.run(image(64), target("BX"));
    EXPECT_EQ(result.message, Message::NoAnswer);
    EXPECT_EQ(message(*result.message).text, "Error while Download - no answer from sensor!");
    EXPECT_NEAR(double(d.transferMs), 11 * (4000 + 10 + 17.4), 11.0 * 2);
    EXPECT_TRUE(d.progress.empty());
}

TEST(Download, TheBootloaderRefusesWritingIntoItsOwnSection) {
    DownloadRun d;
    TargetDescription believed = target("BX");
    ++believed.applicationPages;  // the sensor's bootloader knows better
    const DownloadResult result = d.run(image(64, "BX", 120 * 64), believed);
    EXPECT_EQ(result.message, Message::InsideBootloader);
    EXPECT_EQ(result.sendings, 11);
    EXPECT_TRUE(d.link.sensor.flash().erased(120));
}

TEST(Download, AnImageTooBigForTheApplicationIsRefusedWithoutTraffic) {
    struct Case {
        size_t bytes;
        uint16_t address;
        Message message;
    };
    for (const Case& c :
         {Case{0, 0, Message::PleaseLoadFile}, Case{121 * 64, 0, Message::FileTooBig},
          Case{5 * 64, 0x1D00, Message::FileTooBig}}) {
        SCOPED_TRACE(c.address);
        DownloadRun d;
        d.link.sensor.clearTraffic();
        const FirmwareImage img = c.bytes ? image(c.bytes, "BX", c.address) : FirmwareImage{};
        const DownloadResult result = d.run(img, target("BX"));
        EXPECT_EQ(result.message, c.message);
        EXPECT_TRUE(d.link.sensor.traffic().empty());
        EXPECT_EQ(d.link.clock.now(), 0);
    }
}

TEST(Download, TheOldVersionIsShownFromTheLastVersionReply) {
    struct Case {
        int version;
        const char* line;
    };
    for (const Case& c : {Case{3960104, "Firmware (alt): 396-01-04"},
                          Case{1000009,
                               "Firmware (alt): 100-00-09\n"
                               "                SOFTWARE: DATENLOGGER"}}) {
        DownloadRun d(version(c.version));
        ASSERT_TRUE(d.link.com.ReadRegister(TSSICom::FirmwareVersion));
        d.run(image(64), target("BX"));
        ASSERT_GE(d.lines.size(), 2u);
        EXPECT_EQ(d.lines[1], c.line);
    }
}

TEST(Download, WithoutWakeUpOrVersionTheQuestionDecides) {
    for (const bool retry : {false, true}) {
        SCOPED_TRACE(retry);
        DownloadRun d;
        d.link.backend.unplug();
        DownloadHooks hooks;
        int asked = 0;
        hooks.retryWithoutVersion = [&] {
            ++asked;
            return retry;
        };
        const auto result = Download(d.link.com, hooks).run(image(64), target("BX"));
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(result.message, retry ? std::optional(Message::PortNotAvailable) : std::nullopt);
    }
}

}  // namespace
