#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#include "support/ChildProcess.h"

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

    std::unique_ptr<ChildProcess> startSimulator() {
        auto sim = std::make_unique<ChildProcess>(
            std::vector<std::string>{VARNEL_SIM_BIN, "--preset", "qh", "--link", link_},
            std::vector<std::string>{});
        for (int i = 0; i < 50 && !fs::exists(link_); ++i)
            std::this_thread::sleep_for(100ms);
        EXPECT_TRUE(fs::exists(link_)) << "the simulator published no link";
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

    fs::path dir_;
    std::string link_;
};

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

}  // namespace
