// Measures the whole-set read and write against the simulated sensor behind a
// pseudo-terminal at 4800 baud and compares each with its floor: the protocol's
// fixed pauses plus the wire time the program cannot help waiting for. A
// pseudo-terminal takes a write at once (the simulator, not the writer, pays its
// wire time), so from the traffic log the floor is the pauses plus, for every
// reply, whatever part of the command's wire time, the sensor's reply delay and
// the reply's wire time reaches past the 50 ms of pauses before the read. The
// floor on a real serial line, where each write also waits for its bytes to go
// out, is shown beside it: the same exchange on virtual time, with no program
// overhead at all. Also measures how well the pauses and read time-outs keep
// their length. Last, the same transfers go through a real ser2net on loopback
// (rfc2217://) and are compared with the local pseudo-terminal. Prints figures;
// never fails.

#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "comm/Ssicom.h"
#include "platform/Clock.h"
#include "platform/SerialPortRouter.h"
#include "platform/TermiosSerialBackend.h"
#include "sim/InProcessBackend.h"
#include "sim/PtyHost.h"
#include "sim/SimulatedSensor.h"
#include "support/LoopbackPort.h"

namespace {

constexpr int kBaud = 4800;
constexpr int kRounds = 5;
constexpr uint8_t kPort = 1;
// A 39606 sensor answers every register of the set, so both transfers succeed.
constexpr const char* kPreset = "kbf";

double nowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// Sums the pauses the protocol asks for.
class PauseCountingClock final : public platform::Clock {
public:
    int64_t now() override { return inner_.now(); }
    void sleep(int64_t ms) override {
        paused += ms;
        inner_.sleep(ms);
    }
    int64_t paused = 0;

private:
    platform::SteadyClock inner_;
};

double wireMs(size_t bytes) {
    return bytes * 10.0 * 1000.0 / kBaud;
}

struct WireTime {
    double sentMs = 0;
    double receivedMs = 0;
    double pastPausesMs = 0;  // reply time that reaches past the pauses before the read
};

WireTime wireTimeOf(const std::vector<sim::TrafficEntry>& log, size_t from, int replyDelayMs) {
    constexpr double kPausesBeforeReadMs = 50;
    WireTime wire;
    double lastCommandMs = 0;
    for (size_t i = from; i < log.size(); ++i) {
        const double ms = wireMs(log[i].text.size() + 1);
        if (log[i].kind == sim::TrafficEntry::Kind::Command) {
            wire.sentMs += ms;
            lastCommandMs = ms;
        }
        if (log[i].kind == sim::TrafficEntry::Kind::Reply) {
            wire.receivedMs += ms;
            const double readyMs = lastCommandMs + replyDelayMs + ms;
            wire.pastPausesMs += std::max(0.0, readyMs - kPausesBeforeReadMs);
        }
    }
    return wire;
}

// Runs `work` while a thread serves the pseudo-terminal.
void withHostRunning(sim::PtyHost& host, const std::function<void()>& work) {
    std::atomic<bool> stop{false};
    std::thread server([&] {
        while (!stop)
            host.serve(2);
    });
    work();
    stop = true;
    server.join();
}

using SetOperation = bool (TSSICom::*)();

// The same operation on virtual time: pauses and wire time only.
double virtualFloorMs(SetOperation operation) {
    platform::VirtualClock clock;
    sim::SimulatedSensor sensor(*sim::presetConfig(kPreset));
    sim::InProcessBackend backend(sensor, clock);
    platform::ComPortMap ports;
    TSSICom com(backend, clock, ports);
    com.OpenDefault(kPort);
    com.ReadParameterSet();
    const int64_t start = clock.now();
    (com.*operation)();
    return double(clock.now() - start);
}

struct RoundResult {
    double measuredMs;
    int64_t pausedMs;
    WireTime wire;
    bool ok;
};

RoundResult measureOnPty(SetOperation operation) {
    platform::SteadyClock hostClock;
    const sim::SensorConfig config = *sim::presetConfig(kPreset);
    sim::SimulatedSensor sensor(config);
    sim::PtyHost host(sensor, hostClock, true);
    platform::ComPortMap ports({{kPort, host.slavePath()}});
    platform::TermiosSerialBackend backend;
    PauseCountingClock clock;
    TSSICom com(backend, clock, ports);
    RoundResult result{};
    withHostRunning(host, [&] {
        com.OpenDefault(kPort);
        com.ReadParameterSet();
    });
    const size_t logStart = sensor.traffic().size();
    withHostRunning(host, [&] {
        clock.paused = 0;
        const double start = nowMs();
        result.ok = (com.*operation)();
        result.measuredMs = nowMs() - start;
        result.pausedMs = clock.paused;
    });
    result.wire = wireTimeOf(sensor.traffic(), logStart, config.replyDelayMs);
    return result;
}

void benchSetOperation(const char* name, SetOperation operation) {
    std::printf("\n%s (floor on a serial line: %.0f ms)\n", name, virtualFloorMs(operation));
    std::printf(
        "  round  measured ms  floor ms  pauses ms  wire sent ms  wire recv ms  ratio   ok\n");
    std::vector<double> ratios;
    for (int round = 1; round <= kRounds; ++round) {
        const RoundResult r = measureOnPty(operation);
        const double floorMs = double(r.pausedMs) + r.wire.pastPausesMs;
        const double ratio = r.measuredMs / floorMs;
        ratios.push_back(ratio);
        std::printf("  %5d  %11.1f  %8.1f  %9lld  %12.1f  %12.1f  %5.3f  %s\n", round, r.measuredMs,
                    floorMs, static_cast<long long>(r.pausedMs), r.wire.sentMs, r.wire.receivedMs,
                    ratio, r.ok ? "yes" : "NO");
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("  median ratio %.3f: the program adds %.2f %% to the floor (target < 3 %%)\n",
                ratios[ratios.size() / 2], (ratios[ratios.size() / 2] - 1.0) * 100.0);
}

struct Spread {
    double median;
    double worst;
};

Spread spreadOf(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples.back()};
}

Spread measurePause(int ms) {
    platform::SteadyClock clock;
    std::vector<double> samples;
    for (int i = 0; i < 40; ++i) {
        const double start = nowMs();
        clock.sleep(ms);
        samples.push_back(nowMs() - start);
    }
    return spreadOf(samples);
}

// A read of one byte that never comes, on a silent pseudo-terminal.
Spread measureTimeout(int ms) {
    platform::SteadyClock hostClock;
    sim::SimulatedSensor sensor(*sim::presetConfig(kPreset));
    sim::PtyHost host(sensor, hostClock, true);
    platform::TermiosSerialBackend backend;
    std::vector<double> samples;
    withHostRunning(host, [&] {
        if (!backend.open(host.slavePath(), kBaud, ms))
            return;
        for (int i = 0; i < 20; ++i) {
            uint8_t byte = 0;
            size_t received = 0;
            const double start = nowMs();
            backend.read(&byte, 1, received);
            samples.push_back(nowMs() - start);
        }
        backend.close();
    });
    return samples.empty() ? Spread{0, 0} : spreadOf(samples);
}

void benchPauses() {
    std::printf("\npauses and read time-outs (ms; target: median overshoot < 1 ms)\n");
    std::printf("  nominal  pause median  pause worst  time-out median  time-out worst\n");
    for (int ms : {10, 15, 25, 50}) {
        const Spread pause = measurePause(ms);
        const Spread timeout = measureTimeout(ms);
        std::printf("  %7d  %12.2f  %11.2f  %15.2f  %14.2f\n", ms, pause.median, pause.worst,
                    timeout.median, timeout.worst);
    }
}

constexpr const char* kSer2net = "/usr/sbin/ser2net";

// ser2net serving one device over RFC 2217 on loopback while the object lives.
class Ser2net {
public:
    explicit Ser2net(const std::string& device) {
        char pattern[] = "/tmp/varnel-bench-ser2net-XXXXXX";
        if (!mkdtemp(pattern))
            return;
        dir_ = pattern;
        port_ = testsupport::FreeLoopbackPort();
        const std::string config = (dir_ / "ser2net.yaml").string();
        std::ofstream(config) << "connection: &sensor\n"
                              << "  accepter: telnet(rfc2217),tcp,127.0.0.1," << port_ << "\n"
                              << "  connector: serialdev," << device << ",4800n81,local\n"
                              << "  options:\n    mdns: false\n";
        const char* argv[] = {kSer2net, "-n", "-c", config.c_str(), nullptr};
        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init(&quiet);
        posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&pid_, kSer2net, &quiet, nullptr, const_cast<char**>(argv), environ) != 0)
            pid_ = 0;
        posix_spawn_file_actions_destroy(&quiet);
        for (int i = 0; pid_ > 0 && i < 500 && !testsupport::ListensOnLoopback(port_); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ~Ser2net() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        if (!dir_.empty())
            std::filesystem::remove_all(dir_);
    }
    Ser2net(const Ser2net&) = delete;
    Ser2net& operator=(const Ser2net&) = delete;

    bool listens() const { return pid_ > 0 && testsupport::ListensOnLoopback(port_); }
    std::string address() const { return "rfc2217://127.0.0.1:" + std::to_string(port_); }

private:
    std::filesystem::path dir_;
    int port_ = 0;
    pid_t pid_ = 0;
};

// One timed set operation on the simulator's pseudo-terminal, opened directly
// or through ser2net; nothing when ser2net does not come up.
std::optional<double> timeOperation(SetOperation operation, bool throughSer2net) {
    platform::SteadyClock hostClock;
    sim::SimulatedSensor sensor(*sim::presetConfig(kPreset));
    sim::PtyHost host(sensor, hostClock, true);
    std::optional<Ser2net> server;
    std::string port = host.slavePath();
    if (throughSer2net) {
        server.emplace(host.slavePath());
        if (!server->listens())
            return std::nullopt;
        port = server->address();
    }
    platform::ComPortMap ports({{kPort, port}});
    platform::SerialPortRouter backend;
    platform::SteadyClock clock;
    TSSICom com(backend, clock, ports);
    double measuredMs = 0;
    bool ok = false;
    withHostRunning(host, [&] {
        com.OpenDefault(kPort);
        com.ReadParameterSet();
        const double start = nowMs();
        ok = (com.*operation)();
        measuredMs = nowMs() - start;
        com.Close();
    });
    if (!ok)
        std::printf("  (a transfer on %s failed)\n", port.c_str());
    return measuredMs;
}

void benchThroughSer2net(const char* name, SetOperation operation) {
    std::vector<double> local;
    std::vector<double> remote;
    for (int round = 1; round <= kRounds; ++round) {
        local.push_back(*timeOperation(operation, false));
        const auto through = timeOperation(operation, true);
        if (!through) {
            std::printf("  %s: ser2net did not start; skipped\n", name);
            return;
        }
        remote.push_back(*through);
    }
    const double localMs = spreadOf(local).median;
    const double remoteMs = spreadOf(remote).median;
    std::printf("  %-18s  %8.1f  %12.1f  %5.3f\n", name, localMs, remoteMs, remoteMs / localMs);
}

void benchSer2net() {
    std::printf(
        "\nthrough ser2net on loopback (rfc2217://), median of %d rounds "
        "(target: ratio <= 1.05)\n",
        kRounds);
    if (access(kSer2net, X_OK) != 0) {
        std::printf("  %s is not installed; skipped\n", kSer2net);
        return;
    }
    std::printf("  operation           pty ms  ser2net ms    ratio\n");
    benchThroughSer2net("ReadParameterSet", &TSSICom::ReadParameterSet);
    benchThroughSer2net("WriteParameterSet", &TSSICom::WriteParameterSet);
}

}  // namespace

int main() {
    std::printf("Whole-set transfers against the simulated sensor on a pseudo-terminal, %d baud\n",
                kBaud);
    benchSetOperation("ReadParameterSet", &TSSICom::ReadParameterSet);
    benchSetOperation("WriteParameterSet", &TSSICom::WriteParameterSet);
    benchPauses();
    benchSer2net();
    return 0;
}
