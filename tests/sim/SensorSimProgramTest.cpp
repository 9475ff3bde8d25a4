#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "PtyClient.h"
#include "sim/SimulatedSensor.h"
#include "support/ChildProcess.h"

namespace fs = std::filesystem;
using simtest::PtyClient;

namespace {

using testsupport::ChildProcess;
using namespace std::chrono_literals;

std::vector<std::string> simulator(std::vector<std::string> options) {
    options.insert(options.begin(), VARNEL_SENSOR_SIM);
    return options;
}

std::string firstLine(ChildProcess& sim) {
    return sim.outputLine(5s).value_or("");
}

int exitCode(ChildProcess& sim) {
    return sim.wait(5s).value_or(-1);
}

struct SensorSimProgramTest : ::testing::Test {
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("varnel-sensor-sim-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string file(const char* name) const { return (folder / name).string(); }

    static std::string ask(PtyClient& client, const std::string& command) {
        client.send(command);
        return client.readLine(500);
    }

    static std::string contents(const std::string& path) {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path folder;
};

TEST_F(SensorSimProgramTest, ServesUntilTerminatedAndCleansUp) {
    const std::string link = file("sensor");
    fs::create_symlink("/nonexistent", link);  // a stale link is replaced
    ChildProcess sim(simulator({"--link", link, "--state", file("state"), "--log", file("log"),
                                "--preset", "kbf", "--factory-number", "77"}));
    const std::string slave = firstLine(sim);
    ASSERT_FALSE(slave.empty()) << sim.err();
    EXPECT_EQ(fs::read_symlink(link), slave);

    {
        PtyClient client(link);
        ASSERT_TRUE(client.isOpen());
        EXPECT_EQ(ask(client, "FA"), "00000077\r");
        EXPECT_EQ(ask(client, "VA"), "3C6F1F\r");
        client.send("DNC3A518");
        EXPECT_EQ(ask(client, "DA"), "C3A518\r");
        EXPECT_FALSE(fs::exists(file("state")));
        client.send("CN");
        EXPECT_EQ(ask(client, "DA"), "C3A518\r");
    }
    EXPECT_NE(contents(file("state")).find("eeprom DA 00C3A518"), std::string::npos);

    sim.signal(SIGTERM);
    EXPECT_EQ(exitCode(sim), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    const std::string log = contents(file("log"));
    EXPECT_NE(log.find("4800 baud  RX   FA"), std::string::npos) << log;
    EXPECT_NE(log.find("4800 baud  TX   00000077"), std::string::npos) << log;
}

TEST_F(SensorSimProgramTest, StartsFromTheKeptState) {
    sim::SimulatedSensor sensor;
    sensor.setWord("DA", 0xC3A518);
    ASSERT_TRUE(sensor.loadState(sensor.saveState()));  // working memory is not state
    std::string state = sensor.saveState();
    state.replace(state.find("eeprom DA 00020119"), 18, "eeprom DA 00C3A518");
    std::ofstream(file("state")) << state;

    ChildProcess sim(simulator({"--state", file("state")}));
    const std::string slave = firstLine(sim);
    ASSERT_FALSE(slave.empty()) << sim.err();
    PtyClient client(slave);
    EXPECT_EQ(ask(client, "DA"), "C3A518\r");
    sim.signal(SIGINT);
    EXPECT_EQ(exitCode(sim), 0);
}

TEST_F(SensorSimProgramTest, UnplugsByItself) {
    const std::string link = file("sensor");
    ChildProcess sim(simulator({"--link", link, "--unplug-after", "0.3"}));
    ASSERT_FALSE(firstLine(sim).empty());
    EXPECT_TRUE(fs::exists(fs::symlink_status(link)));
    EXPECT_EQ(exitCode(sim), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

TEST_F(SensorSimProgramTest, RefusesBadOptionsAndBadState) {
    ChildProcess bad(simulator({"--drop-every", "none"}));
    EXPECT_EQ(exitCode(bad), 2);
    EXPECT_NE(bad.err().find("--drop-every"), std::string::npos);

    std::ofstream(file("state")) << "not a state\n";
    ChildProcess badState(simulator({"--state", file("state")}));
    EXPECT_EQ(exitCode(badState), 1);
    EXPECT_NE(badState.err().find("state"), std::string::npos);
}

}  // namespace
