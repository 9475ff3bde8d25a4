// Measures the download of a full application image (120 pages of an
// ATMega8515 with a 256-word bootloader) through the simulated sensor's
// bootloader behind a pseudo-terminal at 38400 baud, from the wake-up to the
// end marker's answer, against its floor: the fixed pauses the sequence asks
// for, plus for every record whatever part of its wire time, the bootloader's
// page write as the simulator models it and the answer's wire time reaches past
// the purge pause after it (a pseudo-terminal takes a write at once; the
// simulator, not the writer, pays its wire time). The floor on a real serial
// line, where each write also waits for its bytes to go out, is shown beside it:
// the same download on virtual time. Prints figures; never fails.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

#include "comm/Ssicom.h"
#include "firmware/Bootloader.h"
#include "firmware/FirmwareImage.h"
#include "platform/Clock.h"
#include "platform/TermiosSerialBackend.h"
#include "sim/InProcessBackend.h"
#include "sim/PtyHost.h"
#include "sim/SimulatedSensor.h"

namespace {

constexpr int kRounds = 3;
constexpr uint8_t kPort = 1;
constexpr int kPurgePauseMs = 10;
constexpr int kEndMarkerBytes = 2;

double nowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double wireMs(int bytes) {
    return bytes * 10.0 * 1000.0 / firmware::BootloaderBaud;
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

firmware::TargetDescription target() {
    firmware::TargetDescription described;
    firmware::identifyTarget('B', 'X', described);
    return described;
}

firmware::FirmwareImage fullImage(const firmware::TargetDescription& t) {
    firmware::FirmwareImage image;
    image.pageSize = t.pageSize;
    for (int k = 0; k < t.applicationPages; ++k) {
        const int address = k * t.pageSize;
        image.records.push_back(uint8_t(address >> 8));
        image.records.push_back(uint8_t(address));
        uint8_t sum = 0;
        for (int i = 0; i < t.pageSize; ++i) {
            const auto byte = uint8_t((k * 7 + i) % 251);
            image.records.push_back(byte);
            sum = uint8_t(sum + byte);
        }
        image.records.push_back(sum);
    }
    image.pages = t.applicationPages;
    image.bytesTotal = image.bytesToWrite();
    return image;
}

// Time past the purge pause after a message until its answer has arrived.
double pastPauseMs(int messageBytes, int answerDelayMs) {
    return std::max(0.0, wireMs(messageBytes) + answerDelayMs + wireMs(1) - kPurgePauseMs);
}

double serialLineFloorMs(const firmware::FirmwareImage& image,
                         const firmware::TargetDescription& t) {
    platform::VirtualClock clock;
    sim::SimulatedSensor sensor(*sim::presetConfig("kbf"));
    sim::InProcessBackend backend(sensor, clock);
    platform::ComPortMap ports;
    TSSICom com(backend, clock, ports);
    com.OpenDefault(kPort);
    const int64_t start = clock.now();
    firmware::Download(com, {}).run(image, t);
    return double(clock.now() - start);
}

struct Round {
    double measuredMs = 0;
    int64_t pausedMs = 0;
    bool ok = false;
};

Round measureOnPty(const firmware::FirmwareImage& image, const firmware::TargetDescription& t) {
    platform::SteadyClock hostClock;
    sim::SimulatedSensor sensor(*sim::presetConfig("kbf"));
    sim::PtyHost host(sensor, hostClock, true);
    platform::ComPortMap ports({{kPort, host.slavePath()}});
    platform::TermiosSerialBackend backend;
    PauseCountingClock clock;
    TSSICom com(backend, clock, ports);
    Round round;
    std::atomic<bool> stop{false};
    std::thread server([&] {
        while (!stop)
            host.serve(2);
    });
    com.OpenDefault(kPort);
    const double start = nowMs();
    round.ok = firmware::Download(com, {}).run(image, t).succeeded();
    round.measuredMs = nowMs() - start;
    round.pausedMs = clock.paused;
    stop = true;
    server.join();
    return round;
}

}  // namespace

int main() {
    const firmware::TargetDescription t = target();
    const firmware::FirmwareImage image = fullImage(t);
    const double pastPauses =
        image.pages * pastPauseMs(image.recordSize(), sim::BootloaderModel::kPageWriteMs) +
        pastPauseMs(kEndMarkerBytes, sim::BootloaderModel::kAnswerDelayMs);
    std::printf("Download of %d pages (%d bytes) to the simulated bootloader at %d baud\n",
                image.pages, image.length(), firmware::BootloaderBaud);
    std::printf("floor on a serial line: %.0f ms\n", serialLineFloorMs(image, t));
    std::printf("  round  measured ms  floor ms  pauses ms  past pauses ms  ratio   ok\n");
    std::vector<double> ratios;
    for (int r = 1; r <= kRounds; ++r) {
        const Round round = measureOnPty(image, t);
        const double floorMs = double(round.pausedMs) + pastPauses;
        ratios.push_back(round.measuredMs / floorMs);
        std::printf("  %5d  %11.1f  %8.1f  %9lld  %14.1f  %5.3f  %s\n", r, round.measuredMs,
                    floorMs, static_cast<long long>(round.pausedMs), pastPauses, ratios.back(),
                    round.ok ? "yes" : "NO");
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("median ratio %.3f (target: at most 1.05)\n", ratios[ratios.size() / 2]);
    return 0;
}
