// What the history costs: events with whole sets and tables written per second
// to an SQLite file and to a PostgreSQL server started for the run (with fsync
// on), and the time one recorded event adds to a single-register write against
// the simulated sensor, beside that write's own time (the first event, which
// opens the database and creates its tables, is shown apart). The longest
// SQLite writes are those that copy the log into the database, about every 30
// events. SQLite commits with
// synchronous=NORMAL, which a killed program cannot undo; the figure for
// synchronous=FULL is the same write plus one sync of the log, measured here
// on the same disk. Prints figures; never fails on them.
#include <fcntl.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "comm/Ssicom.h"
#include "history/HistoryTesting.h"
#include "history/Location.h"
#include "history/Recorder.h"
#include "platform/Clock.h"
#include "platform/ComPortMap.h"
#include "sim/InProcessBackend.h"
#include "sim/SimulatedSensor.h"
#include "support/PostgresServer.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kThroughputEvents = 1000;
constexpr int kRecorderSamples = 500;
constexpr int kRegisterWrites = 20;
constexpr double kGoalMs = 2.0;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Spread {
    double median = 0;
    double p99 = 0;
    double longest = 0;
    size_t overGoal = 0;  // samples over kGoalMs
    size_t count = 0;
};

Spread spreadOf(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const auto over =
        std::count_if(samples.begin(), samples.end(), [](double ms) { return ms > kGoalMs; });
    return {samples[samples.size() / 2],
            samples[std::min(samples.size() - 1, samples.size() * 99 / 100)], samples.back(),
            size_t(over), samples.size()};
}

double eventsPerSecond(const std::string& location) {
    auto store = history::OpenStore(location);
    history::Event first = historytesting::FullEvent(0);
    if (!store->record(first)) {
        std::printf("  %s\n", store->lastError().c_str());
        return 0;
    }
    const auto start = Clock::now();
    for (int seed = 1; seed <= kThroughputEvents; ++seed) {
        history::Event event = historytesting::FullEvent(seed);
        if (!store->record(event)) {
            std::printf("  %s\n", store->lastError().c_str());
            return 0;
        }
    }
    return kThroughputEvents * 1000.0 / msSince(start);
}

// One sync of a log-sized write in `folder`, as synchronous=FULL adds per commit.
Spread syncMs(const QString& folder) {
    const std::string path = (folder + "/sync-probe").toStdString();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    std::vector<double> samples;
    const std::string page(8192, 'x');
    for (int i = 0; fd >= 0 && i < 200; ++i) {
        if (::write(fd, page.data(), page.size()) != ssize_t(page.size()))
            break;
        const auto start = Clock::now();
        ::fdatasync(fd);
        samples.push_back(msSince(start));
    }
    if (fd >= 0)
        ::close(fd);
    ::unlink(path.c_str());
    return samples.empty() ? Spread{} : spreadOf(samples);
}

// The simulated sensor in this process, on virtual time: a write takes the
// pauses and wire time a real link takes, and no more.
struct SimulatedLink {
    SimulatedLink() {
        com.OpenDefault(1);
        com.ReadParameterSet();
    }
    platform::VirtualClock clock;
    sim::SimulatedSensor sensor{*sim::presetConfig("kbf")};
    sim::InProcessBackend backend{sensor, clock};
    platform::ComPortMap ports;
    TSSICom com{backend, clock, ports};
};

Spread registerWriteMs(SimulatedLink& link) {
    std::vector<double> samples;
    for (int i = 0; i < kRegisterWrites; ++i) {
        link.com[TSSICom::ErrorValue].Value = i;
        const int64_t start = link.clock.now();
        link.com.WriteRegister(TSSICom::ErrorValue);
        samples.push_back(double(link.clock.now() - start));
    }
    return spreadOf(samples);
}

Spread recordedWriteMs(SimulatedLink& link, const std::string& location) {
    auto store = history::OpenStore(location);
    history::Recorder recorder(store.get(), {"bench_history", "0", "bench"});
    const auto record = [&] {
        const auto start = Clock::now();
        recorder.record(link.com, "COM1", history::Operation::Write, true, {}, "ErrorValue");
        return msSince(start);
    };
    std::printf("  the first event, opening the database and creating its tables: %.3f ms\n",
                record());
    std::vector<double> samples;
    for (int i = 0; i < kRecorderSamples; ++i)
        samples.push_back(record());
    if (recorder.missed())
        std::printf("  %zu events missed: %s\n", recorder.missed(), recorder.problem().c_str());
    return spreadOf(samples);
}

void printBackend(const char* name, const std::string& location, const std::string& location2,
                  SimulatedLink& link) {
    std::printf("%s (%s):\n", name, history::DescribeLocation(location).c_str());
    std::printf("  events with whole set and table written: %.0f per second\n",
                eventsPerSecond(location));
    const Spread added = recordedWriteMs(link, location2);
    std::printf(
        "  added to a single-register write: median %.3f ms, 99th percentile %.3f ms, "
        "longest %.3f ms; %zu of %zu over the goal of %.0f ms\n",
        added.median, added.p99, added.longest, added.overGoal, added.count, kGoalMs);
}

}  // namespace

int main() {
    QTemporaryDir dir;
    SimulatedLink link;
    const Spread write = registerWriteMs(link);
    std::printf(
        "single-register write, link time of the simulated sensor: median %.0f ms, "
        "longest of %d: %.0f ms\n",
        write.median, kRegisterWrites, write.p99);

    printBackend("SQLite, WAL, synchronous=NORMAL", dir.filePath("throughput.sqlite").toStdString(),
                 dir.filePath("recorder.sqlite").toStdString(), link);
    const Spread sync = syncMs(dir.path());
    std::printf(
        "  synchronous=FULL would add one sync of the log per event: median %.3f ms, 99th "
        "percentile %.3f ms on this disk\n",
        sync.median, sync.p99);

    testsupport::PostgresServer server(true);
    if (!server.running()) {
        std::printf("PostgreSQL: not measured: %s\n", server.problem().c_str());
        return 0;
    }
    printBackend("PostgreSQL on loopback, fsync on", server.createDatabase("throughput"),
                 server.createDatabase("recorder"), link);
    return 0;
}
