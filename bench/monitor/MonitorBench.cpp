// Start-up time and the CPU time that polling a connected simulated sensor costs.
// Prints its figures; it never fails on them.
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "support/ChildProcess.h"

namespace {

using testsupport::ChildProcess;

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// User plus system time of a process, in milliseconds.
double CpuMs(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    unsigned long long utime = 0;
    unsigned long long stime = 0;
    for (int index = 3; fields >> field; ++index) {
        if (index == 14)
            utime = std::stoull(field);
        if (index == 15) {
            stime = std::stoull(field);
            break;
        }
    }
    return static_cast<double>(utime + stime) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// `shownMs` is measured here, from the start of the process to the trace line that
// the program writes once its window is shown; the line names its two fixed pauses.
void ReportStartup(const std::string& line, double shownMs) {
    int splash = 0;
    int wait = 0;
    if (std::sscanf(line.c_str(), "startup: splash %d ms, wait %d ms", &splash, &wait) != 2) {
        std::printf("start-up: unreadable trace \"%s\"\n", line.c_str());
        return;
    }
    std::printf(
        "start-up: %.0f ms to the window shown, %.0f ms without the splash (%d ms) and "
        "the wait (%d ms) [target < 300 ms]\n",
        shownMs, shownMs - splash - wait, splash, wait);
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 20;
    char pattern[] = "/tmp/varnel-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr)
        return 0;
    const fs::path dir = pattern;
    const std::string link = (dir / "ttyVARNEL").string();
    fs::create_directories(dir / "config" / "KYR");
    fs::create_directories(dir / "home");
    std::ofstream(dir / "config" / "KYR" / "Torvane.json")
        << R"({"Language": 0, "COM-Port": 7, "PortMap": {"7": ")" << link << R"("}})";

    ChildProcess sim({VARNEL_SIM_BIN, "--preset", "qh", "--link", link}, {});
    for (int i = 0; i < 50 && !fs::exists(link); ++i)
        std::this_thread::sleep_for(100ms);
    const auto launched = std::chrono::steady_clock::now();
    ChildProcess varnel({VARNEL_BIN, "--trace-status"},
                        {"QT_QPA_PLATFORM=offscreen", "HOME=" + (dir / "home").string(),
                         "XDG_CONFIG_HOME=" + (dir / "config").string()});

    std::vector<std::string> seen;
    if (varnel.waitForError("startup:", 30s, &seen)) {
        const std::chrono::duration<double, std::milli> shown =
            std::chrono::steady_clock::now() - launched;
        ReportStartup(seen.back(), shown.count());
    }
    if (!varnel.waitForError("status: Communication established", 60s, &seen)) {
        std::printf("polling: the sensor was not found; no figure\n");
        fs::remove_all(dir);
        return 0;
    }
    std::this_thread::sleep_for(2s);
    const double before = CpuMs(varnel.pid());
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double used = CpuMs(varnel.pid()) - before;
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf(
        "polling: %.0f ms CPU over %.1f s = %.0f ms per minute = %.2f %% of one core"
        " [target < 1 %%]\n",
        used, elapsed, used * 60.0 / elapsed, used / (elapsed * 10.0));
    varnel.stop();
    sim.stop();
    fs::remove_all(dir);
    return 0;
}
