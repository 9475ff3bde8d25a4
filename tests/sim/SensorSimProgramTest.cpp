#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "PtyClient.h"
#include "sim/SimulatedSensor.h"

namespace fs = std::filesystem;
using simtest::PtyClient;

namespace {

// varnel-sensor-sim started with its output on pipes.
class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> args) {
        int out[2], err[2];
        if (pipe(out) != 0 || pipe(err) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            dup2(err[1], STDERR_FILENO);
            args.insert(args.begin(), VARNEL_SENSOR_SIM);
            std::vector<char*> argv;
            for (auto& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        ::close(out[1]);
        ::close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~SimProcess() {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        ::close(out_);
        ::close(err_);
    }

    std::string firstLine(int timeoutMs = 5000) {
        std::string line;
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        char c = 0;
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd p{out_, POLLIN, 0};
            if (poll(&p, 1, 10) <= 0)
                continue;
            if (::read(out_, &c, 1) != 1 || c == '\n')
                break;
            line.push_back(c);
        }
        return line;
    }

    std::string errors() {
        std::string text;
        char buffer[256];
        ssize_t n = 0;
        while ((n = ::read(err_, buffer, sizeof buffer)) > 0)
            text.append(buffer, size_t(n));
        return text;
    }

    void signal(int number) { kill(pid_, number); }

    // The exit status, or -1 when the program did not end within the time.
    int exitCode(int timeoutMs = 5000) {
        for (int waited = 0; waited < timeoutMs; waited += 10) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    bool exited_ = false;
};

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
    SimProcess sim({"--link", link, "--state", file("state"), "--log", file("log"), "--preset",
                    "kbf", "--factory-number", "77"});
    const std::string slave = sim.firstLine();
    ASSERT_FALSE(slave.empty()) << sim.errors();
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
    EXPECT_EQ(sim.exitCode(), 0);
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

    SimProcess sim({"--state", file("state")});
    const std::string slave = sim.firstLine();
    ASSERT_FALSE(slave.empty()) << sim.errors();
    PtyClient client(slave);
    EXPECT_EQ(ask(client, "DA"), "C3A518\r");
    sim.signal(SIGINT);
    EXPECT_EQ(sim.exitCode(), 0);
}

TEST_F(SensorSimProgramTest, UnplugsByItself) {
    const std::string link = file("sensor");
    SimProcess sim({"--link", link, "--unplug-after", "0.3"});
    ASSERT_FALSE(sim.firstLine().empty());
    EXPECT_TRUE(fs::exists(fs::symlink_status(link)));
    EXPECT_EQ(sim.exitCode(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

TEST_F(SensorSimProgramTest, RefusesBadOptionsAndBadState) {
    SimProcess bad({"--drop-every", "none"});
    EXPECT_EQ(bad.exitCode(), 2);
    EXPECT_NE(bad.errors().find("--drop-every"), std::string::npos);

    std::ofstream(file("state")) << "not a state\n";
    SimProcess badState({"--state", file("state")});
    EXPECT_EQ(badState.exitCode(), 1);
    EXPECT_NE(badState.errors().find("state"), std::string::npos);
}

}  // namespace
