#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/UniqueFd.h"
#include "support/ChildProcess.h"
#include "support/FileText.h"
#include "support/HexText.h"
#include "support/LoopbackPort.h"
#include "support/ProgramRun.h"
#include "support/Simulator.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::ChildProcess;

constexpr auto kStartLimit = 20s;
constexpr auto kRunLimit = 60s;
constexpr const char* kSer2net = "/usr/sbin/ser2net";
const std::string kModemLineWarning =
    " does not switch modem lines (RTS); the requests are skipped";

using CliRun = testsupport::ProgramRun;

size_t count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// varnelctl against varnel-sensor-sim behind a real ser2net on loopback: one
// port with RFC 2217, one raw.
class RemotePortE2E : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(kSer2net))
            GTEST_SKIP() << "ser2net is not installed";
        char pattern[] = "/tmp/varnel-remote-e2e-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr) << std::strerror(errno);
        dir_ = pattern;
        link_ = (dir_ / "ttySIM").string();
    }
    void TearDown() override {
        server_.reset();
        sim_.reset();
        if (!dir_.empty())
            fs::remove_all(dir_);
    }

    void startSimulator(const std::vector<std::string>& options) {
        testsupport::StartSimulator(sim_, VARNEL_SIM_BIN, link_, options, kStartLimit);
    }

    void startServer() {
        telnetPort_ = testsupport::FreeLoopbackPort();
        rawPort_ = testsupport::FreeLoopbackPort();
        ASSERT_NE(telnetPort_, rawPort_);
        const fs::path config = dir_ / "ser2net.yaml";
        std::ofstream(config) << "connection: &telnet\n"
                              << "  accepter: telnet(rfc2217),tcp,127.0.0.1," << telnetPort_ << "\n"
                              << "  connector: serialdev," << link_ << ",4800n81,local\n"
                              << "  options:\n    mdns: false\n"
                              << "connection: &raw\n"
                              << "  accepter: tcp,127.0.0.1," << rawPort_ << "\n"
                              << "  connector: serialdev," << link_ << ",4800n81,local\n"
                              << "  options:\n    mdns: false\n";
        server_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{kSer2net, "-n", "-d", "-c", config.string()});
        ASSERT_TRUE(server_->started());
        const auto until = ChildProcess::Clock::now() + kStartLimit;
        while (!(testsupport::ListensOnLoopback(telnetPort_) &&
                 testsupport::ListensOnLoopback(rawPort_))) {
            ASSERT_LT(ChildProcess::Clock::now(), until)
                << "ser2net does not listen: " << server_->err();
            std::this_thread::sleep_for(10ms);
        }
    }

    std::string telnet() const { return "rfc2217://127.0.0.1:" + std::to_string(telnetPort_); }
    std::string raw() const { return "socket://127.0.0.1:" + std::to_string(rawPort_); }

    CliRun varnelctl(std::vector<std::string> args) {
        args.insert(args.begin(), VARNELCTL_BIN);
        return testsupport::RunToEnd(
            args, {"HOME=" + dir_.string(), "XDG_CONFIG_HOME=" + (dir_ / "config").string()},
            kRunLimit);
    }

    fs::path dir_;
    std::string link_;
    int telnetPort_ = 0;
    int rawPort_ = 0;
    std::unique_ptr<ChildProcess> sim_;
    std::unique_ptr<ChildProcess> server_;
};

TEST_F(RemotePortE2E, ReadAndSetGoThroughRfc2217WithOneWarningForTheModemLines) {
    startSimulator({"--preset", "qh"});
    startServer();
    const CliRun read = varnelctl({"read", "--port", telnet(), "--json"});
    ASSERT_EQ(read.exitCode, 0) << read.err;
    EXPECT_EQ(read.out.rfind("{\"port\": \"" + telnet() + "\", \"firmwareType\": 39601, ", 0), 0u)
        << read.out;
    EXPECT_EQ(count(read.out, "{\"index\": "), 37u);
    EXPECT_NE(read.out.find("\"key\": \"FactoryNumber\", \"value\": 10203040"), std::string::npos);
    EXPECT_EQ(read.err, "varnelctl: warning: " + telnet() + kModemLineWarning + "\n");

    const CliRun set = varnelctl({"set", "--port", telnet(), "BitWidth", "24"});
    ASSERT_EQ(set.exitCode, 0) << set.err;
    EXPECT_EQ(set.out.rfind("BitWidth = 24 ", 0), 0u) << set.out;
    const CliRun get = varnelctl({"get", "--port", telnet(), "BitWidth"});
    EXPECT_EQ(get.out, "24\n") << get.err;
}

TEST_F(RemotePortE2E, APortNumberOfThePortMapLeadsToTheServerAndIsListed) {
    startSimulator({"--preset", "qh"});
    startServer();
    fs::create_directories(dir_ / "config" / "KYR");
    std::ofstream(dir_ / "config" / "KYR" / "Torvane.json")
        << R"({"Language": 0, "PortMap": {"7": ")" << telnet() << R"("}})";
    const CliRun get = varnelctl({"get", "--port", "COM7", "FirmwareVersion"});
    EXPECT_EQ(get.exitCode, 0) << get.err;
    EXPECT_EQ(get.out, "3960105\n");
    const CliRun ports = varnelctl({"ports"});
    EXPECT_EQ(ports.exitCode, 0) << ports.err;
    EXPECT_NE(ports.out.find("COM7\t" + telnet() + "\n"), std::string::npos) << ports.out;
}

TEST_F(RemotePortE2E, StreamSwitchesTheRateThroughRfc2217AndBack) {
    startSimulator({"--preset", "qh", "--log", (dir_ / "traffic.log").string()});
    startServer();
    const CliRun stream = varnelctl({"stream", "--port", telnet(), "--count", "5"});
    ASSERT_EQ(stream.exitCode, 0) << stream.err;
    EXPECT_EQ(count(stream.out, " mm\n"), 5u) << stream.out;
    EXPECT_EQ(count(stream.err, kModemLineWarning), 1u) << stream.err;
    const CliRun after = varnelctl({"get", "--port", telnet(), "FirmwareVersion"});
    EXPECT_EQ(after.out, "3960105\n") << "back on the command link: " << after.err;
    sim_.reset();
    const std::string log = testsupport::FileText(dir_ / "traffic.log");
    EXPECT_NE(log.find("38400"), std::string::npos) << "the sensor saw the test mode's rate";
}

TEST_F(RemotePortE2E, AnImageFlashedThroughRfc2217EqualsTheFlashPages) {
    const std::string state = (dir_ / "sensor.state").string();
    startSimulator({"--preset", "kbf", "--chip", "BX", "--state", state});
    startServer();
    const auto data = testsupport::countingBytes(200);
    const fs::path hex = dir_ / "image.hex";
    std::ofstream(hex) << testsupport::hexFile(data);
    const CliRun flash =
        varnelctl({"firmware", "flash", hex.string(), "--port", telnet(), "--yes"});
    ASSERT_EQ(flash.exitCode, 0) << flash.err;
    EXPECT_NE(flash.out.find("Download succesfull!"), std::string::npos) << flash.out;
    EXPECT_EQ(count(flash.err, kModemLineWarning), 1u) << flash.err;
    sim_.reset();
    std::string pages;
    std::istringstream lines(testsupport::FileText(state));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("flash ", 0) == 0)
            pages += line + "\n";
    }
    EXPECT_EQ(count(pages, "flash "), 4u) << pages;
    EXPECT_NE(pages.find("000102030405"), std::string::npos) << pages;
}

TEST_F(RemotePortE2E, RawSocketReadsAtTheCommandRateAndRefusesOthers) {
    startSimulator({"--preset", "kbf"});
    startServer();
    const CliRun read = varnelctl({"read", "--port", raw()});
    ASSERT_EQ(read.exitCode, 0) << read.err;
    EXPECT_EQ(read.out.rfind("Sensor on " + raw() + ", firmware ", 0), 0u) << read.out;
    EXPECT_EQ(read.err, "");
    const CliRun stream = varnelctl({"stream", "--port", raw(), "--count", "1"});
    EXPECT_EQ(stream.exitCode, 1);
    EXPECT_NE(stream.err.find("Cannot open " + raw() +
                              " at 38400 baud: a raw socket has the server's fixed line "
                              "settings, so only 4800 baud works"),
              std::string::npos)
        << stream.err;
}

TEST_F(RemotePortE2E, UnreachableServersFailQuicklyNamingTheAddress) {
    platform::UniqueFd silent(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ASSERT_EQ(bind(silent.get(), reinterpret_cast<sockaddr*>(&address), size), 0);
    ASSERT_EQ(listen(silent.get(), 4), 0);
    ASSERT_EQ(getsockname(silent.get(), reinterpret_cast<sockaddr*>(&address), &size), 0);
    const std::string nobody =
        "rfc2217://127.0.0.1:" + std::to_string(testsupport::FreeLoopbackPort());
    const std::string unknown = "rfc2217://varnel-no-such-host.invalid:4001";
    const std::string mute = "rfc2217://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    const struct {
        std::string port;
        std::string error;
    } cases[] = {
        {nobody, "Cannot connect to " + nobody + ": " + std::strerror(ECONNREFUSED)},
        {unknown, "Cannot connect to " + unknown + ": unknown host varnel-no-such-host.invalid"},
        {mute,
         "Cannot open " + mute + ": the server did not acknowledge the line settings within 2 s"},
    };
    for (const auto& c : cases) {
        const CliRun run = varnelctl({"read", "--port", c.port});
        EXPECT_EQ(run.exitCode, 1) << c.port;
        EXPECT_EQ(run.out, "") << c.port;
        EXPECT_EQ(run.err.rfind(c.error, 0), 0u) << run.err;
        EXPECT_LT(run.elapsedMs, 8000) << c.port;
    }
}

TEST_F(RemotePortE2E, AConnectionDroppedDuringASaveFailsAndWritesNoFile) {
    startSimulator({"--preset", "qh"});
    startServer();
    const fs::path file = dir_ / "dropped.kyr";
    std::thread killer([this] {
        std::this_thread::sleep_for(1s);
        ::kill(server_->pid(), SIGKILL);
    });
    const CliRun save = varnelctl({"save", "--port", telnet(), file.string()});
    killer.join();
    EXPECT_EQ(save.exitCode, 1) << save.out;
    EXPECT_NE(save.err.find("The port " + telnet() + " stopped working during the read"),
              std::string::npos)
        << save.err;
    EXPECT_EQ(save.out.find("Saved"), std::string::npos) << save.out;
    EXPECT_FALSE(fs::exists(file));

    const CliRun read = varnelctl({"read", "--port", telnet()});
    EXPECT_EQ(read.exitCode, 1);
    EXPECT_NE(read.err.find(telnet()), std::string::npos) << read.err;
}

#ifdef VARNEL_BIN
TEST_F(RemotePortE2E, DesktopProgramFindsTheSensorThroughAPortMapAddress) {
    startSimulator({"--preset", "qh"});
    startServer();
    fs::create_directories(dir_ / "config" / "KYR");
    std::ofstream(dir_ / "config" / "KYR" / "Torvane.json")
        << R"({"Language": 0, "COM-Port": 7, "PortMap": {"7": ")" << telnet() << R"("}})";
    ChildProcess varnel({VARNEL_BIN, "--trace-status"},
                        {"QT_QPA_PLATFORM=offscreen", "HOME=" + dir_.string(),
                         "XDG_CONFIG_HOME=" + (dir_ / "config").string()});
    std::vector<std::string> seen;
    EXPECT_TRUE(varnel.waitForError("status: Communication established on COM-Port 7", 30s, &seen))
        << ::testing::PrintToString(seen);
    const std::string warning = "status: " + telnet() + kModemLineWarning;
    EXPECT_EQ(std::count(seen.begin(), seen.end(), warning), 1) << ::testing::PrintToString(seen);
}
#endif

}  // namespace
