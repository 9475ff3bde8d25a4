// Runs the sensor test window's loop against the simulated sensor behind a
// pseudo-terminal, streaming back to back at the wire rate, for a while at
// 115200 and at 38400 baud: blocks decoded per second against the wire's
// blocks per second, bytes lost between the blocks, chart redraws per second,
// the loop's CPU share of one core and how soon after a Quit falls due the loop ends; each
// without and with the statistics panel and the histogram open. The magnet
// runs a ramp of one count per record, so each block's position tells which record it holds and the
// records between two blocks tell the bytes between them. Usage: bench_testmode [seconds per rate,
// default 10]. Prints figures; never fails.

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>

#include "comm/Ssicom.h"
#include "platform/Clock.h"
#include "platform/TermiosSerialBackend.h"
#include "sim/PtyHost.h"
#include "sim/SimulatedSensor.h"
#include "testmode/SensorTestLink.h"
#include "testmode/gui/Testsensor.h"
#include "ui/QtDialogs.h"

namespace {

constexpr uint8_t Port = 1;
constexpr int StartUm = 100000;
constexpr int RecordBytes = 9;

double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double nowSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

struct Figures {
    long blocks = 0;
    long shortReads = 0;
    long lostBytes = 0;
    double seconds = 0;
    double cpuSeconds = 0;
    int redraws = 0;
    double quitMs = 0;
};

// Follows the ramp: the record index of each block and the bytes skipped between blocks.
class RampTracker {
public:
    explicit RampTracker(int stepUm) : stepUm_(stepUm) {}

    void Add(int32_t positionUm, Figures& figures) {
        const long index = (positionUm - StartUm) / stepUm_;
        if (previous_ >= 0) {
            const long between = (index - previous_) * RecordBytes;
            const long expected = long(testmode::BlockLength);
            // A block's record sits up to one record early or late within it.
            if (between > expected + RecordBytes) {
                figures.lostBytes += between - expected;
            }
        }
        previous_ = index;
    }

private:
    int stepUm_;
    long previous_ = -1;
};

Figures runAt(int firmware, double seconds, bool panels) {
    sim::SensorConfig config = *sim::presetConfig("qh");
    config.firmwareVersion = firmware;
    config.magnetPositionUm = StartUm;
    config.streamStepUm = config.resolutionUm;
    sim::SimulatedSensor sensor(config);
    platform::SteadyClock hostClock;
    sim::PtyHost host(sensor, hostClock, true);
    std::atomic<bool> stop{false};
    std::thread server([&] {
        while (!stop) {
            host.serve(2);
        }
    });

    platform::ComPortMap ports({{Port, host.slavePath()}});
    platform::TermiosSerialBackend backend;
    platform::SteadyClock clock;
    TSSICom com(backend, clock, ports);
    com.OpenDefault(Port);
    com.ReadParameterSet();
    testmode::SensorTestLink link(com);
    QtDialogs dialogs;
    TSensorTestDlg dialog(0, link.HalfMicrometres(), QPixmap(), dialogs);
    dialog.SetWireBlocksPerSecond(link.WireBlocksPerSecond());
    dialog.show();
    dialog.StatisticsButton->setChecked(panels);
    dialog.HistogramButton->setChecked(panels);
    link.Enter();

    Figures figures;
    RampTracker ramp(config.resolutionUm);
    const double start = nowSeconds();
    const double quitDue = start + seconds;
    QTimer::singleShot(int(seconds * 1000), Qt::PreciseTimer, &dialog, [&] { dialog.QuitClick(); });
    const double cpuStart = threadCpuSeconds();
    while (dialog.TestRunning) {
        if (const auto reading = link.ReadBlock()) {
            dialog.AddReading(*reading);
            ramp.Add(reading->sample.position, figures);
            ++figures.blocks;
        } else {
            ++figures.shortReads;
        }
        dialog.RedrawIfDue();
        QCoreApplication::processEvents();
    }
    const double end = nowSeconds();
    figures.quitMs = (end - quitDue) * 1000;
    figures.cpuSeconds = threadCpuSeconds() - cpuStart;
    figures.seconds = end - start;
    figures.redraws = dialog.RedrawCount();
    link.Leave();
    stop = true;
    server.join();
    return figures;
}

void print(const char* name, int baud, bool panels, const Figures& f) {
    const double wireBlocks = baud / 10.0 / double(testmode::BlockLength);
    const double decoded = double(f.blocks) / f.seconds;
    std::printf(
        "%-7s %6d baud%s: %7.1f blocks/s decoded of %6.1f on the wire (%5.1f %%), short reads "
        "%ld,\n"
        "                     bytes lost %ld, redraws %5.1f/s, CPU %4.1f %% of one core, Quit "
        "answered in %.1f ms\n",
        name, baud, panels ? ", statistics and histogram open" : "", decoded, wireBlocks,
        100.0 * decoded / wireBlocks, f.shortReads, f.lostBytes, f.redraws / f.seconds,
        100.0 * f.cpuSeconds / f.seconds, f.quitMs);
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    std::printf("Sensor test loop against the simulated sensor on a pseudo-terminal, %.0f s each\n",
                seconds);
    for (const bool panels : {false, true}) {
        print("3960404", 115200, panels, runAt(3960404, seconds, panels));
        print("3960105", 38400, panels, runAt(3960105, seconds, panels));
    }
    return 0;
}
