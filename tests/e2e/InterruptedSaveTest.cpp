#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/ChildProcess.h"
#include "support/FileText.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::ChildProcess;

constexpr int kKills = 200;
// Several saves long, so that the kills land at every step of a save.
constexpr int kLongestDelayUs = 15000;
constexpr auto kStartLimit = 20s;

struct Kind {
    const char* name;  // as save_loop takes it
    const char* file;
};

// A settings file as large as a long port map makes it.
std::string largeSettings() {
    std::string text = R"({"FactoryKey": "x", "Language": 1, "PortMap": {)";
    for (int port = 1; port <= 255; ++port) {
        text += (port > 1 ? ", \"" : "\"") + std::to_string(port) +
                "\": \"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A9" + std::to_string(port) +
                "-if00-port0\"";
    }
    return text + "}}";
}

unsigned seed() {
    if (const char* given = std::getenv("VARNEL_KILL_SEED"))
        return unsigned(std::strtoul(given, nullptr, 10));
    return std::random_device()();
}

void PrintTo(const Kind& kind, std::ostream* out) {
    *out << kind.name;
}

// Kills a worker of save_loop at random moments while it saves one kind of
// file over and over, and looks at the file after every kill.
class InterruptedSave : public testing::TestWithParam<Kind> {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/varnel-kill-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        target_ = dir_ / GetParam().file;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::vector<std::string> argv(const char* mode) const {
        return {SAVE_LOOP_BIN, GetParam().name, target_.string(), mode};
    }

    // The file as one uninterrupted save leaves it.
    std::string saveOnce(const char* content) {
        ChildProcess once(argv(content));
        const auto code = once.wait(kStartLimit);
        EXPECT_EQ(code, 0) << once.err();
        return testsupport::FileText(target_);
    }

    // The other files in the folder; a save killed between naming its file and
    // the rename leaves one.
    std::vector<fs::path> leftovers() const {
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            if (entry.path() != target_)
                found.push_back(entry.path());
        }
        return found;
    }

    fs::path dir_;
    fs::path target_;
};

TEST_P(InterruptedSave, EveryKillLeavesTheWholeOldOrTheWholeNewFile) {
    if (std::string(GetParam().name) == "settings")
        std::ofstream(target_) << largeSettings();
    const std::string oldText = saveOnce("old");
    const std::string newText = saveOnce("new");
    saveOnce("old");
    ASSERT_FALSE(oldText.empty());
    ASSERT_NE(oldText, newText);

    const unsigned used = seed();
    std::cout << GetParam().name << ": seed " << used << " (VARNEL_KILL_SEED repeats it), "
              << newText.size() << " bytes\n";
    std::mt19937 random(used);
    std::uniform_int_distribution<int> delayUs(0, kLongestDelayUs);
    int olds = 0;
    int news = 0;
    int staged = 0;
    ChildProcess server(argv("serve"), {}, ChildProcess::Input::Pipe);
    for (int attempt = 0; attempt < kKills; ++attempt) {
        ASSERT_TRUE(server.send("go\n"));
        const auto worker = server.outputLine(kStartLimit);
        ASSERT_TRUE(worker.has_value()) << server.err();
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        ::kill(std::stoi(*worker), SIGKILL);
        ASSERT_EQ(server.outputLine(kStartLimit), "ended " + std::to_string(128 + SIGKILL))
            << "kill " << attempt << ": " << server.err();

        const std::string text = testsupport::FileText(target_);
        ASSERT_TRUE(text == oldText || text == newText)
            << "kill " << attempt << " left " << text.size() << " bytes";
        (text == oldText ? olds : news)++;
        const auto left = leftovers();
        ASSERT_LE(left.size(), 1u) << "kill " << attempt;
        if (!left.empty()) {
            ASSERT_EQ(left[0].filename(), "." + target_.filename().string() + ".new");
            const std::string stagedText = testsupport::FileText(left[0]);
            EXPECT_TRUE(stagedText == oldText || stagedText == newText);
            ++staged;
        }
    }
    std::cout << GetParam().name << ": " << kKills << " kills left the old file " << olds
              << " times, the new one " << news << " times; " << staged
              << " left a complete file waiting for its rename\n";
    EXPECT_GT(olds, 0);
    EXPECT_GT(news, 0);

    EXPECT_EQ(saveOnce("new"), newText);
    EXPECT_TRUE(leftovers().empty());
}

INSTANTIATE_TEST_SUITE_P(Files, InterruptedSave,
                         testing::Values(Kind{"kyr", "Line 3.kyr"},
                                         Kind{"lin", "10203040 (KYR-SSI).txt"},
                                         Kind{"settings", "Torvane.json"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
