#include <gtest/gtest.h>

#include <cerrno>

#include "SimHarness.h"
#include "sim/WireOutput.h"

using simtest::Link;
using Kind = sim::TrafficEntry::Kind;

namespace {

// 10 bit times per byte at 4800 baud, in microseconds.
constexpr int64_t kByteUs4800 = 2084;

TEST(TimingTest, WriteTakesTheWireTimeOfItsBytes) {
    Link link;
    link.clock.advanceTo(100);
    link.send("DN020119");  // 9 bytes: 18.75 ms
    EXPECT_EQ(link.clock.now(), 119);
    ASSERT_FALSE(link.sensor.traffic().empty());
    EXPECT_EQ(link.sensor.traffic().back().timeMs, 119);
}

TEST(TimingTest, ReplyStartsAfterTheDelayAndIsPacedAtTheBaudRate) {
    Link link;
    link.send("FA");  // CR arrives at 6.25 ms -> 7
    const int64_t start = 7 + 20;
    ASSERT_TRUE(link.sensor.nextOutputTime());
    EXPECT_EQ(*link.sensor.nextOutputTime(), (start * 1000 + kByteUs4800 + 999) / 1000);
    EXPECT_EQ(link.read(9), "10203040\r");
    EXPECT_EQ(link.clock.now(), (start * 1000 + 18750 + 999) / 1000);  // 9 bytes take 18.75 ms

    const auto& reply = link.sensor.traffic().back();
    EXPECT_EQ(reply.kind, Kind::Reply);
    EXPECT_EQ(reply.timeMs, start);
    EXPECT_EQ(reply.text, "10203040");
    EXPECT_EQ(reply.baudRate, 4800);
}

TEST(TimingTest, ReplyDelayIsConfigurable) {
    sim::SensorConfig config;
    config.replyDelayMs = 45;
    Link link(config);
    link.send("VA");
    link.clock.sleep(50);  // 57: the reply began at 52 and is still on its way
    EXPECT_EQ(link.read(7).size(), 7u);
    EXPECT_EQ(link.clock.now(), 7 + 45 + 15);  // 7 bytes take 14.6 ms
}

TEST(TimingTest, WireOutputPacesEachByteAndQueuesBehindTheLastReply) {
    sim::WireOutput line;
    line.setBaudRate(38400);
    EXPECT_EQ(line.send("0123456\r", 10), 10);  // 8 bytes: 2.08 ms
    EXPECT_EQ(line.send("AB\r", 10), 13);       // the line is busy until 12.08
    auto bytes = line.take(100);
    ASSERT_EQ(bytes.size(), 11u);
    EXPECT_EQ(bytes.front().timeMs, 11);  // 0.26 ms after the start
    EXPECT_EQ(bytes[7].timeMs, 13);       // 12.08
    EXPECT_EQ(bytes.back().timeMs, 13);   // 12.08 + 0.78

    line.setPaced(false);
    line.send("XYZ", 200);
    for (const auto& b : line.take(200))
        EXPECT_EQ(b.timeMs, 200);
    EXPECT_FALSE(line.nextTime());
}

TEST(TimingTest, ReadTimesOutAfterTheOpenTimeoutWithoutError) {
    Link link;
    link.sensor.faults().silent = true;
    link.send("FA");
    const int64_t sent = link.clock.now();
    EXPECT_EQ(link.read(9), "");
    EXPECT_EQ(link.clock.now(), sent + 50);
    EXPECT_EQ(link.backend.lastError().code, 0);
}

TEST(TimingTest, ShortReplyEndsTheReadAtTheDeadline) {
    Link link;
    link.send("VA");
    const int64_t sent = link.clock.now();
    EXPECT_EQ(link.read(9), "3C6D29\r");
    EXPECT_EQ(link.clock.now(), sent + 50);
    EXPECT_EQ(link.backend.lastError().code, 0);
}

TEST(TimingTest, ReplyAfterTheDeadlineStaysForTheNextRead) {
    sim::SensorConfig config;
    config.replyDelayMs = 60;
    Link link(config);
    link.send("VA");
    EXPECT_EQ(link.read(7), "");
    EXPECT_EQ(link.read(7), "3C6D29\r");
}

TEST(TimingTest, PurgeDropsOnlyWhatHasArrived) {
    Link link;
    link.send("FA");
    EXPECT_TRUE(link.backend.purge());  // right after the command: nothing there yet
    link.clock.sleep(50);
    EXPECT_EQ(link.read(9), "10203040\r");

    link.send("FA");
    link.clock.sleep(30);  // the reply is half way through
    EXPECT_TRUE(link.backend.purge());
    const std::string rest = link.read(9);
    EXPECT_FALSE(rest.empty());
    EXPECT_LT(rest.size(), 9u);
    EXPECT_EQ(rest.back(), '\r');

    link.send("FA");
    link.clock.sleep(100);  // the whole reply has arrived
    EXPECT_TRUE(link.backend.purge());
    EXPECT_EQ(link.read(9), "");
}

TEST(TimingTest, OperatingTimeCountsThreeMinuteSteps) {
    Link link;
    EXPECT_EQ(link.ask("TA", 9), "000001F4\r");
    link.clock.advanceTo(3 * 60 * 1000 + 100);
    EXPECT_EQ(link.ask("TA", 9), "000001F5\r");
    link.send("TN00000010");
    link.clock.sleep(6 * 60 * 1000);
    EXPECT_EQ(link.ask("TA", 9), "00000012\r");
}

TEST(TimingTest, RtsAndBaudChangesAreLogged) {
    Link link;
    link.clock.advanceTo(10);
    EXPECT_TRUE(link.backend.setRts(true));
    link.clock.sleep(100);
    EXPECT_TRUE(link.backend.setRts(false));
    link.backend.close();
    link.backend.open("/dev/ttyUSB0", 38400, 1000);

    std::vector<std::tuple<Kind, std::string, int64_t>> log;
    for (const auto& e : link.sensor.traffic())
        log.emplace_back(e.kind, e.text, e.timeMs);
    const std::vector<std::tuple<Kind, std::string, int64_t>> expected{
        {Kind::Rts, "1", 10}, {Kind::Rts, "0", 110}, {Kind::Baud, "38400", 110}};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(link.sensor.baudRate(), 38400);
}

TEST(TimingTest, CommandLogCarriesArrivalTimeAndBaud) {
    Link link;
    link.send("PROG");
    link.send("DA");
    ASSERT_GE(link.sensor.traffic().size(), 2u);
    const auto& prog = link.sensor.traffic()[0];
    const auto& da = link.sensor.traffic()[1];
    EXPECT_EQ(prog.kind, Kind::Command);
    EXPECT_EQ(prog.text, "PROG");
    EXPECT_EQ(prog.timeMs, 11);  // 5 bytes: 10.4 ms
    EXPECT_EQ(da.text, "DA");
    EXPECT_EQ(da.timeMs, 18);  // 3 more bytes from 11 ms: 17.25 ms
    EXPECT_EQ(da.baudRate, 4800);
}

TEST(InProcessBackendTest, UnpluggedDeviceFailsRequestsAndVanishes) {
    Link link;
    link.backend.unplug();
    uint8_t byte = 0;
    size_t received = 0;
    EXPECT_FALSE(link.backend.read(&byte, 1, received));
    EXPECT_EQ(link.backend.lastError().code, EIO);
    EXPECT_FALSE(link.backend.write(&byte, 1));
    EXPECT_EQ(link.backend.lastError().code, EIO);
    EXPECT_FALSE(link.backend.purge());
    EXPECT_FALSE(link.backend.setRts(true));
    EXPECT_EQ(link.clock.now(), 0);  // failing requests take no time

    link.backend.close();
    EXPECT_FALSE(link.backend.open("/dev/ttyUSB0", 4800, 50));
    EXPECT_EQ(link.backend.lastError().code, ENOENT);
    EXPECT_FALSE(link.backend.probe("/dev/ttyUSB0"));
    EXPECT_EQ(link.backend.lastError().code, ENOENT);

    link.backend.plugIn();
    EXPECT_TRUE(link.backend.probe("/dev/ttyUSB0"));
    EXPECT_TRUE(link.backend.open("/dev/ttyUSB0", 4800, 50));
    EXPECT_EQ(link.ask("FA", 9), "10203040\r");
}

TEST(InProcessBackendTest, UnpluggedForAWhileLosesWhatIsSentMeanwhile) {
    Link link;
    link.backend.unplugBetween(20, 300);
    EXPECT_TRUE(link.send("DA"));  // in before the window: arrives at 7 ms
    link.clock.advanceTo(40);      // the reply went out while unplugged
    EXPECT_FALSE(link.backend.purge());
    EXPECT_EQ(link.backend.lastError().code, EIO);
    EXPECT_EQ(link.read(7), "");
    link.backend.close();
    EXPECT_FALSE(link.backend.open("/dev/ttyUSB0", 4800, 50));
    EXPECT_EQ(link.backend.lastError().code, ENOENT);
    link.clock.advanceTo(300);
    ASSERT_TRUE(link.backend.open("/dev/ttyUSB0", 4800, 50));
    EXPECT_EQ(link.read(7), "") << "the reply sent while unplugged is lost";
    EXPECT_EQ(link.ask("DA", 7), "020119\r");

    link.backend.unplugBetween(link.clock.now() + 3, link.clock.now() + 100);
    EXPECT_FALSE(link.send("DN000000")) << "unplugged while the bytes went out";
    EXPECT_EQ(link.backend.lastError().code, EIO);
    EXPECT_EQ(link.sensor.traffic().back().text, "020119") << "the command never arrived";
}

TEST(InProcessBackendTest, OpenAndProbeReportBusyOrMissingDevices) {
    Link link;
    EXPECT_FALSE(link.backend.probe("/dev/ttyUSB0"));  // held open by ourselves
    EXPECT_EQ(link.backend.lastError().code, EBUSY);
    link.backend.close();
    EXPECT_FALSE(link.backend.isOpen());

    link.backend.busy = true;
    EXPECT_FALSE(link.backend.open("/dev/ttyUSB0", 4800, 50));
    EXPECT_EQ(link.backend.lastError().code, EBUSY);
    EXPECT_FALSE(link.backend.probe("/dev/ttyUSB0"));
    link.backend.busy = false;

    EXPECT_FALSE(link.backend.open("/dev/ttyUSB1", 4800, 50));
    EXPECT_EQ(link.backend.lastError().code, ENOENT);
    EXPECT_TRUE(link.backend.probe("/dev/ttyUSB0"));
    EXPECT_EQ(link.backend.lastError().code, 0);
}

TEST(InProcessBackendTest, ClosedPortFailsAtOnce) {
    Link link;
    link.backend.close();
    uint8_t byte = 0;
    size_t received = 7;
    EXPECT_FALSE(link.backend.read(&byte, 1, received));
    EXPECT_EQ(received, 0u);
    EXPECT_NE(link.backend.lastError().code, 0);
    EXPECT_FALSE(link.backend.write(&byte, 1));
    EXPECT_FALSE(link.backend.setRts(true));
    EXPECT_FALSE(link.backend.purge());
    EXPECT_EQ(link.clock.now(), 0);
}

TEST(InProcessBackendTest, ReopeningDropsWhatArrivedWhileClosed) {
    Link link;
    link.send("FA");
    link.backend.close();
    link.clock.sleep(100);
    link.backend.open("/dev/ttyUSB0", 4800, 50);
    EXPECT_EQ(link.read(1), "");
}

}  // namespace
