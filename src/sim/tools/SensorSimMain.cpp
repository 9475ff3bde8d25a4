// varnel-sensor-sim: a simulated sensor behind a pseudo-terminal.

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "sim/PtyHost.h"
#include "sim/SimulatedSensor.h"
#include "sim/StateFile.h"
#include "sim/TrafficLog.h"
#include "sim/tools/SimOptions.h"

namespace {

constexpr int kServeMs = 5;
constexpr int kExitFailure = 1;
constexpr int kExitBadOptions = 2;

volatile std::sig_atomic_t stopRequested = 0;

void onStopSignal(int) {
    stopRequested = 1;
}

void catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// A symbolic link to the terminal, replaced if the path exists and removed
// again when the simulator ends, unless someone else has taken the path.
class SymbolicLink {
public:
    SymbolicLink(std::string path, const std::string& target)
        : path_(std::move(path)), target_(target) {
        if (path_.empty())
            return;
        const std::string temporary = path_ + ".new" + std::to_string(getpid());
        std::remove(temporary.c_str());
        if (symlink(target_.c_str(), temporary.c_str()) != 0 ||
            std::rename(temporary.c_str(), path_.c_str()) != 0)
            throw std::runtime_error("cannot create the link " + path_);
    }
    ~SymbolicLink() {
        if (!path_.empty() && pointsToTarget())
            std::remove(path_.c_str());
    }
    SymbolicLink(const SymbolicLink&) = delete;
    SymbolicLink& operator=(const SymbolicLink&) = delete;

private:
    bool pointsToTarget() const {
        std::vector<char> buffer(target_.size() + 2);
        const ssize_t n = readlink(path_.c_str(), buffer.data(), buffer.size());
        return n >= 0 && std::string(buffer.data(), size_t(n)) == target_;
    }

    std::string path_;
    std::string target_;
};

// Writes the sensor's traffic to a file as it happens.
class TrafficLogFile {
public:
    TrafficLogFile(const std::string& path, int64_t originMs) : originMs_(originMs) {
        if (path.empty())
            return;
        file_.open(path, std::ios::trunc);
        if (!file_)
            throw std::runtime_error("cannot write the log " + path);
    }

    void take(sim::SimulatedSensor& sensor) {
        if (file_.is_open() && !sensor.traffic().empty()) {
            for (const auto& entry : sensor.traffic())
                file_ << sim::formatTrafficLine(entry, originMs_) << '\n';
            file_.flush();
        }
        sensor.clearTraffic();
    }

private:
    std::ofstream file_;
    int64_t originMs_;
};

void keepStateIn(const std::string& path, sim::SimulatedSensor& sensor) {
    if (path.empty())
        return;
    if (access(path.c_str(), F_OK) == 0) {
        const auto text = sim::readFile(path);
        if (!text || !sensor.loadState(*text))
            throw std::runtime_error("cannot read the sensor state in " + path);
    }
    sensor.onPersistentChange([path, &sensor] {
        if (!platform::WriteFileAtomically(path, sensor.saveState()).ok)
            std::cerr << "varnel-sensor-sim: cannot save the sensor state in " << path << '\n';
    });
}

int run(const sim::SimOptions& options) {
    platform::SteadyClock clock;
    const int64_t startMs = clock.now();
    sim::SimulatedSensor sensor(options.sensor);
    sensor.faults() = options.faults;
    keepStateIn(options.statePath, sensor);
    TrafficLogFile log(options.logPath, startMs);
    sim::PtyHost host(sensor, clock, options.sensor.paced);
    SymbolicLink link(options.linkPath, host.slavePath());
    std::cout << host.slavePath() << std::endl;

    const auto unplugMs = int64_t(options.unplugAfterSeconds * 1000);
    while (!stopRequested && (unplugMs == 0 || clock.now() - startMs < unplugMs)) {
        host.serve(kServeMs);
        log.take(sensor);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const auto parsed = sim::parseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (const auto* error = std::get_if<std::string>(&parsed)) {
        std::cerr << "varnel-sensor-sim: " << *error << "\nTry 'varnel-sensor-sim --help'.\n";
        return kExitBadOptions;
    }
    const auto& options = std::get<sim::SimOptions>(parsed);
    if (options.help) {
        std::cout << sim::simUsage();
        return 0;
    }
    if (options.version) {
        std::cout << "varnel-sensor-sim " VARNEL_BUILD_VERSION "\n";
        return 0;
    }
    catchStopSignals();
    try {
        return run(options);
    } catch (const std::exception& e) {
        std::cerr << "varnel-sensor-sim: " << e.what() << '\n';
        return kExitFailure;
    }
}
