#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/UniqueFd.h"
#include "support/ChildProcess.h"
#include "support/FileText.h"
#include "support/ProgramRun.h"
#include "support/Simulator.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::ChildProcess;

constexpr auto kStartLimit = 20s;
constexpr auto kRunLimit = 60s;

using CtlRun = testsupport::ProgramRun;

// varnelctl ports and find over the ports of a settings file: COM5 leads to the
// simulator's pty, COM6 to a pty where nobody answers, COM7 to a path that leads nowhere.
class FindE2E : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/varnel-find-e2e-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr) << std::strerror(errno);
        dir_ = pattern;
        startSimulator();
        openSilentPty();
        writeSettings();
    }
    void TearDown() override {
        sim_.reset();
        fs::remove_all(dir_);
    }

    void startSimulator() {
        testsupport::StartSimulator(sim_, VARNEL_SIM_BIN, simLink(),
                                    {"--preset", "kbf", "--factory-number", "20815001", "--log",
                                     (dir_ / "traffic.log").string()},
                                    kStartLimit);
    }

    // A pty with unusual line settings, so the test sees whether find puts them back.
    void openSilentPty() {
        int master = -1;
        int slave = -1;
        ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0) << std::strerror(errno);
        master_.reset(master);
        slave_.reset(slave);
        termios tio{};
        ASSERT_EQ(tcgetattr(slave, &tio), 0);
        cfsetspeed(&tio, B9600);
        tio.c_lflag |= ICANON | ECHO;
        ASSERT_EQ(tcsetattr(slave, TCSANOW, &tio), 0);
        fs::create_symlink(ttyname(slave), silentLink());
    }

    void writeSettings() {
        fs::create_directories(dir_ / "config" / "KYR");
        std::ofstream(dir_ / "config" / "KYR" / "Torvane.json")
            << R"({"PortMap": {"5": ")" << simLink() << R"(", "6": ")" << silentLink()
            << R"(", "7": ")" << (dir_ / "nowhere").string() << R"("}})";
    }

    CtlRun varnelctl(std::vector<std::string> args) {
        args.insert(args.begin(), VARNELCTL_BIN);
        return testsupport::RunToEnd(
            args, {"HOME=" + dir_.string(), "XDG_CONFIG_HOME=" + (dir_ / "config").string()},
            kRunLimit);
    }

    termios silentSettings() const {
        termios tio{};
        EXPECT_EQ(tcgetattr(slave_.get(), &tio), 0);
        return tio;
    }

    std::string simLink() const { return (dir_ / "ttySIM").string(); }
    std::string silentLink() const { return (dir_ / "ttyQUIET").string(); }

    fs::path dir_;
    std::unique_ptr<ChildProcess> sim_;
    platform::UniqueFd master_;
    platform::UniqueFd slave_;
};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The line of the port with this prefix ("COM5\t"), empty when there is none.
std::string lineOf(const std::string& text, const std::string& prefix) {
    for (const auto& line : linesOf(text)) {
        if (line.rfind(prefix, 0) == 0)
            return line;
    }
    return {};
}

TEST_F(FindE2E, FindsTheSensorAmongTheListedPortsAndLeavesThemAsTheyWere) {
    const termios before = silentSettings();
    const CtlRun run = varnelctl({"find"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(lineOf(run.out, "COM5\t"),
              "COM5\t" + simLink() + "\tsensor 20815001\tK-Series SSI (KBF)");
    EXPECT_EQ(lineOf(run.out, "COM6\t"), "COM6\t" + silentLink() + "\tno sensor");
    EXPECT_EQ(lineOf(run.out, "COM7"), "");

    // The sensor was only read: its factory number and its model, at the command link's speed.
    std::vector<std::string> received;
    for (const auto& line : linesOf(testsupport::FileText(dir_ / "traffic.log"))) {
        if (const auto rx = line.find(" RX "); rx != std::string::npos)
            received.push_back(line.substr(line.find_first_not_of(' ', rx + 4)));
    }
    EXPECT_EQ(received, (std::vector<std::string>{"FA", "LA"}));

    // The commands reached the silent pty, and its line settings are back as they were.
    char sent[64] = {};
    pollfd waiting{master_.get(), POLLIN, 0};
    ASSERT_EQ(::poll(&waiting, 1, 0), 1) << "nothing reached the silent pty";
    EXPECT_GT(::read(master_.get(), sent, sizeof sent - 1), 0);
    EXPECT_EQ(std::string(sent).rfind("FA\r", 0), 0u) << sent;
    const termios after = silentSettings();
    EXPECT_EQ(cfgetospeed(&after), cfgetospeed(&before));
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    EXPECT_EQ(after.c_cflag, before.c_cflag);
}

TEST_F(FindE2E, FindJsonAndNoSensorAnywhere) {
    const CtlRun json = varnelctl({"find", "--json"});
    EXPECT_EQ(json.exitCode, 0) << json.err;
    EXPECT_NE(json.out.find("{\"port\": \"COM5\", \"device\": \"" + simLink() +
                            "\", \"result\": \"found\", \"factoryNumber\": \"20815001\", "
                            "\"model\": \"K-Series SSI (KBF)\", \"error\": null}"),
              std::string::npos)
        << json.out;
    EXPECT_EQ(json.out.front(), '[');
    EXPECT_NE(json.err.find("Trying COM6 (" + silentLink() + ")\n"), std::string::npos);

    sim_.reset();
    const CtlRun none = varnelctl({"find"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(lineOf(none.out, "COM5"), "");
    EXPECT_NE(none.err.find("No sensor answered on "), std::string::npos) << none.err;
}

TEST_F(FindE2E, CtrlCEndsTheSearchAfterThePortBeingTried) {
    std::ofstream settings(dir_ / "config" / "KYR" / "Torvane.json");
    settings << R"({"PortMap": {)";
    for (int port = 5; port <= 12; ++port)
        settings << (port == 5 ? "" : ", ") << '"' << port << R"(": ")" << silentLink() << '"';
    settings << "}}";
    settings.close();

    ChildProcess program(
        {VARNELCTL_BIN, "find"},
        {"HOME=" + dir_.string(), "XDG_CONFIG_HOME=" + (dir_ / "config").string()});
    const auto first = program.outputLine(kRunLimit);
    ASSERT_TRUE(first.has_value()) << program.err();
    program.signal(SIGINT);
    const auto code = program.wait(kRunLimit);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 1);
    EXPECT_NE(program.err().find("find: interrupted; "), std::string::npos) << program.err();
    EXPECT_LT(linesOf(program.out()).size(), 8u) << "all eight ports were tried";
}

TEST_F(FindE2E, PortsListsAndDescribesTheDevices) {
    const CtlRun table = varnelctl({"ports"});
    EXPECT_EQ(table.exitCode, 0) << table.err;
    EXPECT_EQ(lineOf(table.out, "COM5\t"), "COM5\t" + simLink());
    EXPECT_EQ(lineOf(table.out, "COM7"), "");

    const CtlRun json = varnelctl({"ports", "--json"});
    EXPECT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(json.out.front(), '[');
    EXPECT_EQ(json.out.substr(json.out.size() - 2), "]\n");
    EXPECT_NE(json.out.find("{\"port\": \"COM6\", \"device\": \"" + silentLink() +
                            "\", \"byId\": null, \"vendorId\": null, \"productId\": null, "
                            "\"vendor\": null, \"product\": null, \"serial\": null, "
                            "\"driver\": null}"),
              std::string::npos)
        << json.out;
    // A built-in port is described with its driver, as sysfs has it.
    const fs::path driver = "/sys/class/tty/ttyS0/device/driver";
    if (fs::exists("/dev/ttyS0") && fs::exists(driver)) {
        EXPECT_EQ(lineOf(table.out, "COM33\t"), "COM33\t/dev/ttyS0\t-\t-\t-\t-\t-\t" +
                                                    fs::read_symlink(driver).filename().string());
    }
}

}  // namespace
