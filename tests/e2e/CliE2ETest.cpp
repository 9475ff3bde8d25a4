#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/TermiosSerialBackend.h"
#include "support/ChildProcess.h"
#include "support/Elapsed.h"
#include "support/FileText.h"
#include "support/HexText.h"
#include "support/ProgramRun.h"
#include "support/Simulator.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::ChildProcess;

// Start-up of a program on a loaded machine may take long; a hang takes longer.
constexpr auto kStartLimit = 20s;
constexpr auto kRunLimit = 60s;

using CliRun = testsupport::ProgramRun;

// varnelctl against varnel-sensor-sim over a real pseudo-terminal, each test in
// its own folder.
class CliE2E : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/varnel-cli-e2e-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr) << std::strerror(errno);
        dir_ = pattern;
        link_ = (dir_ / "ttySIM").string();
    }
    void TearDown() override {
        sim_.reset();
        fs::remove_all(dir_);
    }

    void startSimulator(const std::vector<std::string>& options) {
        testsupport::StartSimulator(sim_, VARNEL_SIM_BIN, link_, options, kStartLimit);
    }

    void stopSimulator() { sim_.reset(); }

    CliRun varnelctl(std::vector<std::string> args, const std::vector<std::string>& env = {}) {
        args.insert(args.begin(), VARNELCTL_BIN);
        return testsupport::RunToEnd(args, env, kRunLimit);
    }

    std::string trafficLog() const { return testsupport::FileText(dir_ / "traffic.log"); }

    fs::path dir_;
    std::string link_;
    std::unique_ptr<ChildProcess> sim_;
};

size_t count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// The commands the sensor received, in order ("RX" lines of the traffic log),
// with an empty entry wherever it sent a reply.
std::vector<std::string> exchanges(const std::string& log) {
    std::vector<std::string> seen;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        if (const auto rx = line.find(" RX "); rx != std::string::npos) {
            const auto text = line.find_first_not_of(' ', rx + 4);
            seen.push_back(text == std::string::npos ? "" : line.substr(text));
        } else if (line.find(" TX ") != std::string::npos) {
            seen.push_back("");
        }
    }
    return seen;
}

bool hasRetry(const std::vector<std::string>& seen) {
    for (size_t i = 1; i < seen.size(); ++i) {
        if (!seen[i].empty() && seen[i] == seen[i - 1])
            return true;
    }
    return false;
}

TEST_F(CliE2E, ReadsAPresetSensorAsJson) {
    startSimulator({"--preset", "kbf"});
    const CliRun run = varnelctl({"read", "--port", link_, "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.rfind("{\"port\": \"" + link_ + "\", \"firmwareType\": 39606, ", 0), 0u)
        << run.out;
    EXPECT_EQ(count(run.out, "{\"index\": "), 37u);
    EXPECT_NE(run.out.find("\"key\": \"Model\", \"value\": " + std::to_string('K' * 256 + 'B')),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.back(), '\n');
    EXPECT_EQ(run.err, "");
}

TEST_F(CliE2E, PortNumberReachesTheDeviceOfTheSettingsPortMap) {
    startSimulator({"--preset", "qh"});
    fs::create_directories(dir_ / "config/KYR");
    std::ofstream(dir_ / "config/KYR/Torvane.json")
        << R"({"Language": 0, "PortMap": {"7": ")" << link_ << R"("}})";
    const std::vector<std::string> home = {"HOME=" + dir_.string(),
                                           "XDG_CONFIG_HOME=" + (dir_ / "config").string()};
    for (const char* port : {"7", "COM7"}) {
        const CliRun run = varnelctl({"get", "--port", port, "FirmwareVersion"}, home);
        EXPECT_EQ(run.exitCode, 0) << port << ": " << run.err;
        EXPECT_EQ(run.out, "3960105\n") << port;
    }
}

TEST_F(CliE2E, ReadsAPresetSensorAsATable) {
    startSimulator({"--preset", "qh"});
    const CliRun run = varnelctl({"read", "--port", link_});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("firmware 3960105 (type 39601)"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(" Model                QH "), std::string::npos) << run.out;
}

TEST_F(CliE2E, CommittedValueSurvivesARestartAndAnUncommittedOneDoesNot) {
    const std::string state = (dir_ / "sensor.state").string();
    startSimulator({"--preset", "qh", "--state", state});
    const CliRun set = varnelctl({"set", "--port", link_, "bitwidth", "24"});
    ASSERT_EQ(set.exitCode, 0) << set.err;
    EXPECT_EQ(set.out.rfind("BitWidth = 24 ", 0), 0u) << set.out;
    const CliRun commit = varnelctl({"commit", "--port", link_});
    ASSERT_EQ(commit.exitCode, 0) << commit.err;
    EXPECT_EQ(commit.out, "Committed with CN (firmware 3960105)\n");
    const CliRun later = varnelctl({"set", "--port", link_, "Direction", "1"});
    ASSERT_EQ(later.exitCode, 0) << later.err;

    stopSimulator();
    startSimulator({"--preset", "qh", "--state", state});
    const CliRun bitWidth = varnelctl({"get", "--port", link_, "BitWidth"});
    ASSERT_EQ(bitWidth.exitCode, 0) << bitWidth.err;
    EXPECT_EQ(bitWidth.out, "24\n");
    const CliRun direction = varnelctl({"get", "--port", link_, "Direction"});
    ASSERT_EQ(direction.exitCode, 0) << direction.err;
    EXPECT_EQ(direction.out, "0\n");
}

TEST_F(CliE2E, SilentSensorFailsAfterAboutHalfASecond) {
    startSimulator({"--silent"});
    const CliRun run = varnelctl({"read", "--port", link_});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "FirmwareVersion: the sensor on " + link_ + " did not answer\n");
    EXPECT_EQ(run.out, "");
    EXPECT_GE(run.elapsedMs, 450);
    EXPECT_LT(run.elapsedMs, 10000);
}

TEST_F(CliE2E, LostReplyIsAskedForAgainAndTheReadSucceeds) {
    startSimulator({"--preset", "qh", "--drop-every", "7", "--log", (dir_ / "traffic.log")});
    const CliRun run = varnelctl({"read", "--port", link_, "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(count(run.out, "{\"index\": "), 37u);
    EXPECT_NE(run.out.find("\"key\": \"FactoryNumber\", \"value\": 10203040"), std::string::npos);
    stopSimulator();
    EXPECT_TRUE(hasRetry(exchanges(trafficLog()))) << trafficLog();
}

TEST_F(CliE2E, CorruptedRepliesDoNotStopTheRead) {
    startSimulator({"--preset", "qh", "--corrupt-every", "5", "--log", (dir_ / "traffic.log")});
    const CliRun run = varnelctl({"read", "--port", link_, "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(count(run.out, "{\"index\": "), 37u);
    stopSimulator();
    EXPECT_NE(trafficLog().find(" TX   X"), std::string::npos) << trafficLog();
}

TEST_F(CliE2E, UnpluggedSensorEndsCleanly) {
    startSimulator({"--preset", "qh", "--unplug-after", "1"});
    const CliRun run = varnelctl({"read", "--port", link_});
    EXPECT_EQ(run.exitCode, 1) << run.out;
    EXPECT_NE(run.err.find(link_), std::string::npos) << run.err;
    EXPECT_LT(run.elapsedMs, 20000);
    EXPECT_TRUE(sim_->wait(kStartLimit).has_value());
    const CliRun after = varnelctl({"get", "--port", link_, "BitWidth"});
    EXPECT_EQ(after.exitCode, 1);
    EXPECT_NE(after.err.find(std::strerror(ENOENT)), std::string::npos) << after.err;
}

TEST_F(CliE2E, SaveOfASetReadThatLostThePortFailsAndWritesNoFile) {
    const std::string file = (dir_ / "lost.kyr").string();
    startSimulator({"--preset", "qh", "--unplug-after", "2.1"});
    const CliRun run = varnelctl({"save", "--port", link_, file});
    EXPECT_EQ(run.exitCode, 1) << run.out;
    EXPECT_NE(run.err.find("The port " + link_ + " stopped working during the read"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.out.find("Saved"), std::string::npos) << run.out;
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(CliE2E, ValuesBeyondTheAcceptedRangeAreRefusedWithTheRange) {
    startSimulator({"--preset", "qh", "--log", (dir_ / "traffic.log")});
    const struct {
        const char* key;
        const char* value;
        const char* error;
    } cases[] = {
        {"BitWidth", "200", "BitWidth: 200 is outside 1 to 32 bit"},
        {"BitWidth", "0", "BitWidth: 0 is outside 1 to 32 bit"},
        {"CycleTime", "65536", "CycleTime: 65536 is outside 0 to 65535 × 0.25 µs"},
        {"MonoflopTime", "51", "MonoflopTime: 51 is outside 1 to 50 µs"},
        {"Resolution", "0", "Resolution: 0 is outside 1 to 1000000 µm"},
    };
    for (const auto& c : cases) {
        const CliRun run = varnelctl({"set", "--port", link_, c.key, c.value});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err, std::string("varnelctl: ") + c.error + "\n");
    }
    stopSimulator();
    EXPECT_EQ(count(trafficLog(), " RX "), 0u) << trafficLog();
}

TEST_F(CliE2E, AFileSavedAtHalfAMicrometreKeepsItAfterLoad) {
    const std::string file = (dir_ / "half.kyr").string();
    startSimulator({"--preset", "qh"});
    const CliRun speed = varnelctl({"get", "--port", link_, "UltrasonicSpeed"});
    ASSERT_EQ(speed.exitCode, 0) << speed.err;
    const std::string doubled = std::to_string(std::stoll(speed.out) * 1024 / 100);
    ASSERT_EQ(varnelctl({"set", "--port", link_, "Resolution", "1"}).exitCode, 0);
    ASSERT_EQ(varnelctl({"set", "--port", link_, "Scale", doubled}).exitCode, 0);
    ASSERT_EQ(varnelctl({"save", "--port", link_, file}).exitCode, 0);
    ASSERT_EQ(varnelctl({"set", "--port", link_, "Scale", "100"}).exitCode, 0);
    const CliRun load = varnelctl({"load", "--port", link_, file, "--yes"});
    ASSERT_EQ(load.exitCode, 0) << load.err;
    EXPECT_EQ(varnelctl({"get", "--port", link_, "Scale"}).out, doubled + "\n");
    EXPECT_EQ(varnelctl({"get", "--port", link_, "Resolution"}).out, "1\n");
}

TEST_F(CliE2E, PortHeldByAnotherProgramIsReported) {
    startSimulator({"--preset", "qh"});
    platform::TermiosSerialBackend holder;
    ASSERT_TRUE(holder.open(link_, 4800, 50)) << holder.lastError().message;
    const CliRun run = varnelctl({"read", "--port", link_});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find(std::strerror(EBUSY)), std::string::npos) << run.err;
}

TEST_F(CliE2E, UsageErrorLeavesTheSensorAlone) {
    startSimulator({"--preset", "qh", "--log", (dir_ / "traffic.log")});
    const CliRun run = varnelctl({"set", "--port", link_, "BitWidth", "256"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "varnelctl: BitWidth: 256 is outside 1 to 32 bit\n");
    stopSimulator();
    EXPECT_EQ(count(trafficLog(), " RX "), 0u) << trafficLog();
}

TEST_F(CliE2E, WakeSendsThirtyFiveProgLines) {
    startSimulator({"--preset", "qh", "--log", (dir_ / "traffic.log")});
    const CliRun run = varnelctl({"wake", "--port", link_});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    stopSimulator();
    EXPECT_EQ(count(trafficLog(), " RX   PROG"), 35u) << trafficLog();
}

// The "flash PAGE DATA" lines of the simulator's state file, by page.
std::map<int, std::string> flashPages(const std::string& state) {
    std::map<int, std::string> pages;
    std::istringstream lines(state);
    for (std::string key, page, data; lines >> key;) {
        if (key == "flash" && lines >> page >> data)
            pages[std::stoi(page, nullptr, 16)] = data;
        else
            std::getline(lines, data);
    }
    return pages;
}

// The pages an image of `data` from address 0 fills, FF after its end.
std::map<int, std::string> expectedPages(std::vector<uint8_t> data, size_t pageSize) {
    data.resize((data.size() + pageSize - 1) / pageSize * pageSize, 0xFF);
    std::map<int, std::string> pages;
    for (size_t at = 0; at < data.size(); ++at) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", data[at]);
        pages[int(at / pageSize)] += digits;
    }
    return pages;
}

TEST_F(CliE2E, AnImageFlashedIntoEachChipEqualsItsFlashPageForPage) {
    struct Case {
        const char* chip;
        size_t pageSize;  // 0: the chip cannot take an image on its own
    };
    const auto data = testsupport::countingBytes(1000);
    const fs::path hex = dir_ / "image.hex";
    std::ofstream(hex) << testsupport::hexFile(data);
    for (const Case& c : {Case{"BX", 64}, Case{"CZ", 128}, Case{"AY", 0}}) {
        SCOPED_TRACE(c.chip);
        const std::string state = (dir_ / (std::string(c.chip) + ".state")).string();
        startSimulator({"--preset", "kbf", "--chip", c.chip, "--state", state});
        const CliRun flash =
            varnelctl({"firmware", "flash", hex.string(), "--port", link_, "--yes"});
        if (c.pageSize == 0) {
            EXPECT_EQ(flash.exitCode, 1);
            EXPECT_NE(flash.err.find("This type is not supported yet!"), std::string::npos)
                << flash.err;
        } else {
            ASSERT_EQ(flash.exitCode, 0) << flash.err;
            EXPECT_NE(flash.out.find("Download succesfull!"), std::string::npos) << flash.out;
            EXPECT_EQ(flashPages(testsupport::FileText(state)), expectedPages(data, c.pageSize));
        }
        const CliRun read = varnelctl({"read", "--port", link_});
        EXPECT_EQ(read.exitCode, 0) << read.err;
    }
}

TEST_F(CliE2E, AFlashChecksTheFileBeforeTheBootloaderAndNamesTheRefusedRecord) {
    const auto data = testsupport::countingBytes(100);
    std::string badLine = testsupport::hexFile(data);
    badLine.replace(badLine.find("\r\n") - 2, 2, "00");
    std::string noEnd = testsupport::hexFile(data);
    noEnd.resize(noEnd.find(":00000001FF"));
    struct Case {
        const char* name;
        std::string file;
        std::string answers;
        std::string error;
        bool identified;
    };
    const Case cases[] = {
        {"bad line", badLine, "", "CheckSum -> File invalid! (lines 1)", false},
        {"no end record", noEnd, "", "Line 7: the end-of-file record is missing - file invalid!",
         false},
        {"refused record", testsupport::hexFile(data), "r" + std::string(11, 'b'),
         "CheckSum-Error: Error while Download! (record 2 of 2)\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path hex = dir_ / "image.hex";
        std::ofstream(hex) << c.file;
        std::vector<std::string> options = {"--preset", "kbf"};
        if (!c.answers.empty())
            options.insert(options.end(), {"--bootloader-answers", c.answers});
        startSimulator(options);
        const CliRun flash =
            varnelctl({"firmware", "flash", hex.string(), "--port", link_, "--yes"});
        EXPECT_EQ(flash.exitCode, 1);
        EXPECT_NE(flash.err.find(c.error), std::string::npos) << flash.err;
        EXPECT_EQ(flash.out.find("Kommunikation ok!") != std::string::npos, c.identified)
            << flash.out;
    }
}

TEST_F(CliE2E, CtrlCDuringAFlashLeavesTheSensorOnTheCommandLink) {
    startSimulator({"--preset", "kbf", "--bootloader-answers", std::string(40, '.')});
    const fs::path hex = dir_ / "image.hex";
    std::ofstream(hex) << testsupport::hexFile(testsupport::countingBytes(640));
    ChildProcess flash(
        {VARNELCTL_BIN, "firmware", "flash", hex.string(), "--port", link_, "--yes"});
    // Past the identification, into the first record's silent answers.
    std::this_thread::sleep_for(4s);
    flash.signal(SIGINT);
    const auto code = flash.wait(10s);
    ASSERT_TRUE(code.has_value()) << "the flash did not end after Ctrl-C";
    EXPECT_EQ(*code, 1);
    EXPECT_NE(flash.err().find("Download interrupted!"), std::string::npos) << flash.err();
    const CliRun read = varnelctl({"read", "--port", link_});
    EXPECT_EQ(read.exitCode, 0) << read.err;
}

}  // namespace

namespace {

// The keys that `diff` lists, from its JSON output.
std::vector<std::string> differingKeys(const std::string& json) {
    std::vector<std::string> keys;
    const std::string marker = "\"key\": \"";
    for (size_t at = json.find(marker); at != std::string::npos; at = json.find(marker, at + 1)) {
        const size_t start = at + marker.size();
        keys.push_back(json.substr(start, json.find('"', start) - start));
    }
    return keys;
}

}  // namespace

TEST_F(CliE2E, SaveLoadIntoAnotherPresetAndDiffShowOnlyTheSensorsOwnRegisters) {
    const std::string file = (dir_ / "Line 3.kyr").string();
    startSimulator({"--preset", "kbf"});
    const CliRun save = varnelctl({"save", "--port", link_, file, "--comment", "Linie 3 €"});
    ASSERT_EQ(save.exitCode, 0) << save.err;
    EXPECT_NE(save.out.find(file), std::string::npos);

    const CliRun show = varnelctl({"show", file, "--json"});
    ASSERT_EQ(show.exitCode, 0) << show.err;
    EXPECT_EQ(show.out.rfind("{\"header\": \"KYR Q-Serie SSI\\u000AVersion: Varnel 5.3.6\\u000A"
                             "\\u000ALinie 3 \\u20AC\", \"date\": \"",
                             0),
              0u)
        << show.out;
    EXPECT_EQ(count(show.out, "\"key\": "), 29u);

    startSimulator({"--preset", "b"});
    const CliRun load = varnelctl({"load", "--port", link_, file, "--yes", "--commit"});
    ASSERT_EQ(load.exitCode, 0) << load.err;
    EXPECT_NE(load.out.find("Linie 3 €"), std::string::npos) << "the text is shown before loading";

    const CliRun diff = varnelctl({"diff", "--port", link_, file, "--json"});
    ASSERT_EQ(diff.exitCode, 0) << diff.err;
    EXPECT_EQ(differingKeys(diff.out),
              (std::vector<std::string>{"FirmwareVersion", "FactoryNumber"}))
        << diff.out;

    const CliRun same = varnelctl({"diff", file, file});
    EXPECT_EQ(same.exitCode, 0);
    EXPECT_EQ(same.out, "No differences between " + file + " and " + file + "\n");
    const CliRun missing = varnelctl({"show", (dir_ / "none.kyr").string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("none.kyr"), std::string::npos);
}

TEST_F(CliE2E, ApplyIntoAnotherPresetConfirmsEveryWrittenRegisterDespiteGarbledReplies) {
    const std::string file = (dir_ / "station.kyr").string();
    startSimulator({"--preset", "kbf"});
    ASSERT_EQ(varnelctl({"save", "--port", link_, file}).exitCode, 0);

    startSimulator({"--preset", "b", "--corrupt-every", "5"});
    const CliRun apply = varnelctl({"apply", "--port", link_, file, "--commit"});
    ASSERT_EQ(apply.exitCode, 0) << apply.err << apply.out;
    EXPECT_NE(apply.out.find(file + " on the sensor on " + link_ + ": "), std::string::npos);
    EXPECT_NE(apply.out.find(" registers compared, 0 differ, committed\n"), std::string::npos)
        << apply.out;

    const std::string pdf = (dir_ / "station.pdf").string();
    const CliRun json = varnelctl({"apply", "--port", link_, file, "--json", "--report", pdf});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(json.out.rfind("{\"file\": ", 0), 0u) << json.out;
    EXPECT_NE(json.out.find("\"ok\": true, \"written\": true, \"committed\": false"),
              std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"differences\": []}\n"), std::string::npos) << json.out;
    EXPECT_EQ(std::count(json.out.begin(), json.out.end(), '\n'), 1);
    EXPECT_NE(json.err.find("Report written to " + pdf), std::string::npos) << json.err;
    std::ifstream report(pdf, std::ios::binary);
    std::string magic(5, '\0');
    report.read(magic.data(), 5);
    EXPECT_EQ(magic, "%PDF-");

    const CliRun diff = varnelctl({"diff", "--port", link_, file, "--json"});
    EXPECT_EQ(differingKeys(diff.out),
              (std::vector<std::string>{"FirmwareVersion", "FactoryNumber"}))
        << diff.out;
}

namespace {

constexpr int kStreamStartUm = 100000;
constexpr int kStreamStepUm = 5;  // one count of the preset's resolution

// The positions of `stream --json` lines, in micrometres.
std::vector<int64_t> streamedPositions(const std::string& out) {
    std::vector<int64_t> positions;
    std::istringstream lines(out);
    const std::string key = "{\"position_mm\": ";
    for (std::string line; std::getline(lines, line);) {
        EXPECT_EQ(line.rfind(key, 0), 0u) << line;
        positions.push_back(std::llround(std::stod(line.substr(key.size())) * 1000));
    }
    return positions;
}

// Every position lies on the simulator's ramp, and they come in its order.
void ExpectOnTheRampInOrder(const std::vector<int64_t>& positions) {
    int64_t previous = kStreamStartUm - 1;
    for (const int64_t um : positions) {
        EXPECT_GT(um, previous);
        EXPECT_EQ((um - kStreamStartUm) % kStreamStepUm, 0) << um;
        previous = um;
    }
}

TEST_F(CliE2E, StreamPrintsTheSimulatorsRampAndLeavesTestMode) {
    startSimulator({"--position", std::to_string(kStreamStartUm), "--stream-step",
                    std::to_string(kStreamStepUm)});
    const CliRun run = varnelctl({"stream", "--port", link_, "--count", "500", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<int64_t> positions = streamedPositions(run.out);
    EXPECT_EQ(positions.size(), 500u);
    ExpectOnTheRampInOrder(positions);
    EXPECT_EQ(count(run.out, "\"temperature\": null"), 500u);
    EXPECT_EQ(varnelctl({"read", "--port", link_}).exitCode, 0);
}

TEST_F(CliE2E, StreamStoppedByCtrlCLeavesTheSensorInCommandMode) {
    startSimulator({"--position", std::to_string(kStreamStartUm), "--stream-step",
                    std::to_string(kStreamStepUm)});
    ChildProcess stream({VARNELCTL_BIN, "stream", "--port", link_, "--json"});
    ASSERT_TRUE(stream.started());
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(stream.outputLine(kStartLimit).has_value()) << stream.err();
    }
    stream.signal(SIGINT);
    EXPECT_EQ(stream.wait(kRunLimit), 0) << stream.err();
    ExpectOnTheRampInOrder(streamedPositions(stream.out()));
    const CliRun read = varnelctl({"read", "--port", link_});
    EXPECT_EQ(read.exitCode, 0) << read.err;
}

// The number after `"key": ` in a JSON text, from the first match on.
double jsonNumber(const std::string& json, const std::string& key, size_t from = 0) {
    const std::string marker = "\"" + key + "\": ";
    const size_t at = json.find(marker, from);
    EXPECT_NE(at, std::string::npos) << key << " in " << json;
    return at == std::string::npos ? -1 : std::stod(json.substr(at + marker.size()));
}

// The samples' lines and the statistics object after them.
std::pair<std::string, std::string> splitStatistics(const std::string& out) {
    const size_t at = out.rfind("{\"stats\": ");
    EXPECT_NE(at, std::string::npos) << out;
    return at == std::string::npos ? std::pair{out, std::string()}
                                   : std::pair{out.substr(0, at), out.substr(at)};
}

TEST_F(CliE2E, StreamStatisticsOfAMagnetAtRestAndOfTheRamp) {
    startSimulator({"--position", "123450"});
    const CliRun still =
        varnelctl({"stream", "--port", link_, "--count", "400", "--json", "--stats"});
    ASSERT_EQ(still.exitCode, 0) << still.err;
    const auto [samples, stats] = splitStatistics(still.out);
    EXPECT_EQ(streamedPositions(samples).size(), 400u);
    EXPECT_EQ(jsonNumber(stats, "samples"), 400);
    EXPECT_EQ(jsonNumber(stats, "mean_um"), 123450);
    EXPECT_EQ(jsonNumber(stats, "stddev_um"), 0);
    EXPECT_EQ(jsonNumber(stats, "min_mm"), 123.45);
    EXPECT_EQ(jsonNumber(stats, "error_values"), 0);
    EXPECT_EQ(jsonNumber(stats, "samples", stats.find("window")), 300);
    EXPECT_EQ(jsonNumber(stats, "stddev_um", stats.find("window")), 0);
    stopSimulator();

    // Off the grid of 500 um the ramp never reaches 0, the preset's error value.
    startSimulator({"--firmware", "3960404", "--position", "100250", "--stream-step", "500"});
    const CliRun ramp =
        varnelctl({"stream", "--port", link_, "--duration", "2", "--json", "--stats"});
    ASSERT_EQ(ramp.exitCode, 0) << ramp.err;
    const auto [rampSamples, rampStats] = splitStatistics(ramp.out);
    const std::vector<int64_t> positions = streamedPositions(rampSamples);
    ASSERT_GT(positions.size(), 1000u);
    const auto [low, high] = std::minmax_element(positions.begin(), positions.end());
    EXPECT_EQ(std::llround(jsonNumber(rampStats, "min_mm") * 1000), *low);
    EXPECT_EQ(std::llround(jsonNumber(rampStats, "max_mm") * 1000), *high);
    EXPECT_LT(*low, 2000);
    EXPECT_GT(*high, 498000);
    EXPECT_EQ(jsonNumber(rampStats, "samples"), double(positions.size()));
    EXPECT_NEAR(jsonNumber(rampStats, "samples_per_s"), 115200 / 170.0, 15);
    EXPECT_EQ(varnelctl({"read", "--port", link_}).exitCode, 0);
}

TEST_F(CliE2E, StreamTakesACountOrADurationAndCtrlCStillPrintsTheStatistics) {
    const CliRun both = varnelctl({"stream", "--port", link_, "--count", "5", "--duration", "1"});
    EXPECT_EQ(both.exitCode, 2);
    EXPECT_EQ(both.err,
              "varnelctl: --count and --duration exclude each other\n"
              "Run 'varnelctl --help' for the usage.\n");

    startSimulator({"--position", std::to_string(kStreamStartUm)});
    ChildProcess stream({VARNELCTL_BIN, "stream", "--port", link_, "--stats"});
    ASSERT_TRUE(stream.started());
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(stream.outputLine(kStartLimit).has_value()) << stream.err();
    }
    stream.signal(SIGINT);
    EXPECT_EQ(stream.wait(kRunLimit), 0) << stream.err();
    EXPECT_NE(stream.out().find("\n  mean 100000.00 µm, standard deviation 0.00 µm, "
                                "peak-to-peak 0.0 µm\n  minimum 100 mm, maximum 100 mm\n"),
              std::string::npos)
        << stream.out();
    EXPECT_EQ(varnelctl({"read", "--port", link_}).exitCode, 0);
}

}  // namespace

namespace {

// Waits until the simulator has received `commands` commands.
bool receivedCommands(const fs::path& log, size_t commands) {
    const auto deadline = ChildProcess::Clock::now() + kStartLimit;
    while (count(testsupport::FileText(log), " RX ") < commands) {
        if (ChildProcess::Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

}  // namespace

TEST_F(CliE2E, ASecondProgramOnTheStreamingPortIsRefusedAndTheStreamGoesOn) {
    startSimulator({"--position", std::to_string(kStreamStartUm), "--stream-step",
                    std::to_string(kStreamStepUm)});
    ChildProcess stream({VARNELCTL_BIN, "stream", "--port", link_, "--json"});
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(stream.outputLine(kStartLimit).has_value()) << stream.err();

    const CliRun second = varnelctl({"read", "--port", link_});
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_EQ(second.err, "Cannot open " + link_ + ": " + std::strerror(EBUSY) +
                              ". Another program is using this port; close it, or choose "
                              "another port.\n");
    EXPECT_EQ(second.out, "");

    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(stream.outputLine(kStartLimit).has_value()) << stream.err();
    stream.signal(SIGINT);
    EXPECT_EQ(stream.wait(kRunLimit), 0) << stream.err();
    ExpectOnTheRampInOrder(streamedPositions(stream.out()));
    EXPECT_EQ(varnelctl({"read", "--port", link_}).exitCode, 0);
}

TEST_F(CliE2E, AStreamWhosePortDisappearsEndsWithAnError) {
    startSimulator({"--position", std::to_string(kStreamStartUm), "--stream-step",
                    std::to_string(kStreamStepUm)});
    ChildProcess stream({VARNELCTL_BIN, "stream", "--port", link_, "--json"});
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(stream.outputLine(kStartLimit).has_value()) << stream.err();

    sim_->signal(SIGKILL);
    const auto code = stream.wait(kStartLimit);
    ASSERT_TRUE(code.has_value()) << "the stream went on without its port";
    EXPECT_EQ(*code, 1);
    EXPECT_EQ(stream.err().rfind("The port " + link_ + " stopped working during the stream: ", 0),
              0u)
        << stream.err();
    ExpectOnTheRampInOrder(streamedPositions(stream.out()));

    startSimulator({"--preset", "qh"});
    EXPECT_EQ(varnelctl({"read", "--port", link_}).exitCode, 0);
}

TEST_F(CliE2E, AReadWhoseSensorDisappearsMidSetEndsWithAnErrorAndTheNextFindsItAgain) {
    const fs::path log = dir_ / "traffic.log";
    startSimulator({"--preset", "qh", "--log", log.string()});
    ChildProcess read({VARNELCTL_BIN, "read", "--port", link_});
    // The firmware version and a few registers of the set.
    ASSERT_TRUE(receivedCommands(log, 6)) << testsupport::FileText(log);
    sim_->signal(SIGKILL);
    const auto killed = ChildProcess::Clock::now();

    const auto code = read.wait(kRunLimit);
    ASSERT_TRUE(code.has_value()) << "the read did not end";
    const auto endedMs = testsupport::msSince(killed);
    std::cout << "read ended " << endedMs << " ms after its sensor went away\n";
    EXPECT_EQ(*code, 1);
    EXPECT_EQ(read.out(), "");
    EXPECT_EQ(read.err().rfind("The port " + link_ + " stopped working during the read: ", 0), 0u)
        << read.err();
    EXPECT_LT(endedMs, 10000);

    startSimulator({"--preset", "qh"});
    const CliRun again = varnelctl({"read", "--port", link_, "--json"});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(count(again.out, "{\"index\": "), 37u);
}
