#include <gtest/gtest.h>
#include <stdlib.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#include "support/ChildProcess.h"
#include "support/Simulator.h"

namespace {

using testsupport::ChildProcess;

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr int Port = 7;

// A temporary home for one run: the settings file points COM7 at the simulator's link.
class MonitorE2E : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/varnel-e2e-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        link_ = (dir_ / "ttyVARNEL").string();
        fs::create_directories(dir_ / "config" / "KYR");
        std::ofstream(dir_ / "config" / "KYR" / "Torvane.json")
            << R"({"Language": 0, "COM-Port": )" << Port << R"(, "PortMap": {")" << Port
            << R"(": ")" << link_ << R"("}})";
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::unique_ptr<ChildProcess> startSimulator(std::vector<std::string> options = {}) {
        options.insert(options.begin(), {"--preset", "qh"});
        std::unique_ptr<ChildProcess> sim;
        testsupport::StartSimulator(sim, VARNEL_SIM_BIN, link_, options, 5s);
        return sim;
    }

    std::unique_ptr<ChildProcess> startVarnel() {
        const std::string home = (dir_ / "home").string();
        fs::create_directories(home);
        return std::make_unique<ChildProcess>(
            std::vector<std::string>{VARNEL_BIN, "--trace-status"},
            std::vector<std::string>{"QT_QPA_PLATFORM=offscreen", "HOME=" + home,
                                     "XDG_CONFIG_HOME=" + (dir_ / "config").string()});
    }

    // Kills the simulator as a pulled cable would end it, leaving no link behind.
    void pullOut(std::unique_ptr<ChildProcess>& sim) {
        sim->signal(SIGKILL);
        sim->wait(5s);
        sim.reset();
        fs::remove(link_);
    }

    fs::path dir_;
    std::string link_;
};

size_t polls(const fs::path& log) {
    std::ifstream in(log);
    size_t n = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.find(" RX ") != std::string::npos && line.ends_with("FA"))
            ++n;
    }
    return n;
}

TEST_F(MonitorE2E, FindsTheSensorLosesItAndFindsItAgainAfterARestart) {
    auto sim = startSimulator();
    auto varnel = startVarnel();
    std::vector<std::string> seen;

    ASSERT_TRUE(varnel->waitForError("status: SSI-Sensor found on COM-Port 7", 20s, &seen));
    ASSERT_TRUE(
        varnel->waitForError("status: Communication established on COM-Port 7", 30s, &seen));
    ASSERT_TRUE(varnel->waitForError("sensor: 10203040", 5s, &seen));

    sim->stop();
    ASSERT_TRUE(varnel->waitForError("status: COM7: SSI-Sensor not connected...", 10s, &seen));

    sim = startSimulator();
    // The port check reopens the link once the device is back.
    ASSERT_TRUE(varnel->waitForError("status: SSI-Sensor found on COM-Port 7", 20s, &seen));
    ASSERT_TRUE(
        varnel->waitForError("status: Communication established on COM-Port 7", 30s, &seen));
    for (const auto& line : seen) {
        if (line.rfind("status:", 0) == 0 || line.rfind("sensor:", 0) == 0)
            std::cout << line << '\n';
    }
}

// The read of the sensor found at start-up lands in the history of the settings,
// where varnelctl reads it.
TEST_F(MonitorE2E, TheSensorFoundLeavesItsReadInTheHistoryVarnelctlReads) {
    const std::string database = (dir_ / "plant.sqlite").string();
    std::ofstream(dir_ / "config" / "KYR" / "Torvane.json")
        << R"({"Language": 0, "COM-Port": )" << Port << R"(, "PortMap": {")" << Port << R"(": ")"
        << link_ << R"("}, "HistoryDatabase": ")" << database << R"("})";
    auto sim = startSimulator();
    auto varnel = startVarnel();
    ASSERT_TRUE(varnel->waitForError("sensor: 10203040", 40s));
    varnel->stop();

    ChildProcess history({VARNELCTL_BIN, "history", "10203040", "--json", "--history", database});
    ASSERT_EQ(history.wait(20s), 0) << history.err();
    const std::string listed = history.out();
    EXPECT_NE(listed.find(R"("operation": "read", "ok": true, "factoryNumber": "10203040")"),
              std::string::npos)
        << listed;
    EXPECT_NE(listed.find(R"("program": "varnel")"), std::string::npos) << listed;
    EXPECT_NE(listed.find(R"("port": "COM 7")"), std::string::npos) << listed;
}

TEST_F(MonitorE2E, ASecondProgramIsRefusedThePortAndTheWindowGoesOnPolling) {
    const fs::path log = dir_ / "traffic.log";
    auto sim = startSimulator({"--log", log.string()});
    auto varnel = startVarnel();
    ASSERT_TRUE(varnel->waitForError("status: Communication established on COM-Port 7", 40s));

    ChildProcess second({VARNELCTL_BIN, "read", "--port", link_});
    ASSERT_EQ(second.wait(20s), 1) << second.err();
    EXPECT_EQ(second.err(), "Cannot open " + link_ + ": " + std::strerror(EBUSY) +
                                ". Another program is using this port; close it, or choose "
                                "another port.\n");

    const size_t before = polls(log);
    std::this_thread::sleep_for(2s);
    EXPECT_GE(polls(log), before + 3) << "the window stopped polling";
    pullOut(sim);
    EXPECT_TRUE(varnel->waitForError("status: COM7: SSI-Sensor not connected...", 10s));
}

TEST_F(MonitorE2E, ASensorLostWhileItsSetIsReadIsShownMissingAndFoundWhenItIsBack) {
    auto sim = startSimulator();
    auto varnel = startVarnel();
    std::vector<std::string> seen;
    // The whole set takes more than a second at 4800 baud.
    ASSERT_TRUE(varnel->waitForError("status: SSI-Sensor found on COM-Port 7", 20s, &seen));
    pullOut(sim);
    ASSERT_TRUE(varnel->waitForError("status: COM7: SSI-Sensor not connected...", 20s, &seen));
    for (const auto& line : seen)
        EXPECT_NE(line, "status: Communication established on COM-Port 7");

    sim = startSimulator();
    ASSERT_TRUE(varnel->waitForError("status: SSI-Sensor found on COM-Port 7", 20s));
    ASSERT_TRUE(varnel->waitForError("status: Communication established on COM-Port 7", 30s));
    ASSERT_TRUE(varnel->waitForError("sensor: 10203040", 5s));
}

}  // namespace
