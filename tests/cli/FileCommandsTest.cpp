#include "cli/FileCommands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "cli/ExitCode.h"
#include "platform/ComPortMap.h"
#include "sim/InProcessBackend.h"
#include "sim/SimulatedSensor.h"

namespace {

namespace fs = std::filesystem;

// save, load and diff over the protocol stack on a simulated sensor, in a folder of their own.
class FileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/varnel-cli-files-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        file = (dir / "set.kyr").string();
        ASSERT_TRUE(com.OpenDefault(1));
    }
    void TearDown() override { fs::remove_all(dir); }

    int run(cli::Command command, std::istringstream* answers = nullptr, bool yes = false,
            bool json = false) {
        cli::Invocation invocation;
        invocation.command = command;
        invocation.json = json;
        invocation.files = {file};
        invocation.yes = yes;
        return cli::SensorFileCommands(com, "COM1", out, err, {answers != nullptr, answers})
            .run(invocation);
    }
    int writes() const {
        int n = 0;
        for (const auto& e : sensor.traffic())
            n += e.kind == sim::TrafficEntry::Kind::Command && e.text[1] == 'N' ? 1 : 0;
        return n;
    }

    fs::path dir;
    std::string file;
    sim::SimulatedSensor sensor{*sim::presetConfig("qh")};
    platform::VirtualClock clock;
    sim::InProcessBackend backend{sensor, clock};
    platform::ComPortMap ports;
    TSSICom com{backend, clock, ports};
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(FileCommandsTest, LoadWritesOnlyWhatWasConfirmedAndNamesWhatTheSensorRefused) {
    ASSERT_EQ(run(cli::Command::Save), cli::Success) << err.str();
    sensor.setWord("DA", (sensor.word("DA") & ~0xFFu) | 13);

    const struct {
        const char* answer;
        bool terminal;
        int exitCode;
        bool written;
    } cases[] = {
        {"n\n", true, cli::SensorFailure, false},
        {"", true, cli::SensorFailure, false},
        {"", false, cli::UsageError, false},
        {"y\n", true, cli::Success, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        sensor.clearTraffic();
        std::istringstream answers(c.answer);
        EXPECT_EQ(run(cli::Command::Load, c.terminal ? &answers : nullptr), c.exitCode);
        EXPECT_EQ(writes() > 0, c.written);
        EXPECT_EQ(sensor.word("DA") & 0xFF, c.written ? 25u : 13u);
    }
    EXPECT_NE(out.str().find("KYR Q-Serie SSI\nVersion: Varnel 5.3.6\n"), std::string::npos);

    sensor.faults().refusedCommands = {"DN"};
    sensor.setWord("DA", (sensor.word("DA") & ~0xFFu) | 13);
    err.str("");
    EXPECT_EQ(run(cli::Command::Load, nullptr, true), cli::SensorFailure);
    EXPECT_NE(err.str().find("BitWidth: the sensor on COM1 did not confirm"), std::string::npos)
        << err.str();
}

TEST_F(FileCommandsTest, ApplyNamesEachRegisterTheSensorDoesNotHoldWithWantedAndFound) {
    ASSERT_EQ(run(cli::Command::Save), cli::Success) << err.str();
    const struct {
        bool refused;
        bool json;
        int exitCode;
        const char* output;
    } cases[] = {
        {false, false, cli::Success, " on the sensor on COM1: 25 registers compared, 0 differ\n"},
        {true, false, cli::SensorFailure, "BitWidth: wanted 25, found 13\n"},
        {true, true, cli::SensorFailure,
         "\"ok\": false, \"written\": false, \"committed\": false, \"compared\": 25, "
         "\"differences\": [{\"key\": \"BitWidth\", \"wanted\": 25, \"found\": 13}]}\n"},
        {false, true, cli::Success,
         "\"ok\": true, \"written\": true, \"committed\": false, \"compared\": 25, "
         "\"differences\": []}\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output);
        sensor.faults().refusedCommands =
            c.refused ? std::vector<std::string>{"DN"} : std::vector<std::string>{};
        sensor.setWord("DA", (sensor.word("DA") & ~0xFFu) | 13);
        out.str("");
        err.str("");
        EXPECT_EQ(run(cli::Command::Apply, nullptr, false, c.json), c.exitCode);
        EXPECT_NE(out.str().find(c.output), std::string::npos) << out.str();
        EXPECT_EQ(sensor.word("DA") & 0xFF, c.refused ? 13u : 25u);
        EXPECT_EQ(err.str().empty(), !c.refused) << err.str();
    }
    EXPECT_EQ(sensor.commitCount("CN") + sensor.commitCount("EN"), 0);
}

}  // namespace
