#include "sim/PtyHost.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "PtyClient.h"
#include "sim/TrafficLog.h"
#include "support/Elapsed.h"

using simtest::PtyClient;

namespace {

struct PtyHostTest : ::testing::Test {
    std::string ask(PtyClient& client, const std::string& command, int timeoutMs = 300) {
        client.send(command);
        return client.readLine(timeoutMs, [&] { host.serve(1); });
    }

    platform::SteadyClock clock;
    sim::SimulatedSensor sensor;
    sim::PtyHost host{sensor, clock};
};

TEST_F(PtyHostTest, AnswersAClientOnTheSlaveAtWireSpeed) {
    PtyClient client(host.slavePath());
    ASSERT_TRUE(client.isOpen());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ask(client, "FA"), "10203040\r");
    // 3 bytes in, 20 ms, 9 bytes out at 4800 baud: 45 ms on the wire.
    EXPECT_GE(testsupport::msSince(start), 44);
    EXPECT_EQ(ask(client, "DNC3A518", 100), "");
    EXPECT_EQ(ask(client, "DA"), "C3A518\r");
}

TEST_F(PtyHostTest, SlaveOutlivesItsClients) {
    {
        PtyClient first(host.slavePath());
        EXPECT_EQ(ask(first, "VA"), "3C6D29\r");
    }
    host.serve(1);
    PtyClient second(host.slavePath());
    ASSERT_TRUE(second.isOpen());
    EXPECT_EQ(ask(second, "VA"), "3C6D29\r");
}

TEST_F(PtyHostTest, FollowsTheBaudRateTheClientSets) {
    PtyClient client(host.slavePath(), B38400);
    EXPECT_EQ(ask(client, "FA", 150), "");
    EXPECT_EQ(sensor.baudRate(), 38400);
    client.setSpeed(B4800);
    EXPECT_EQ(ask(client, "FA"), "10203040\r");

    std::vector<std::string> bauds;
    for (const auto& entry : sensor.traffic())
        if (entry.kind == sim::TrafficEntry::Kind::Baud)
            bauds.push_back(entry.text);
    EXPECT_EQ(bauds, (std::vector<std::string>{"38400", "4800"}));
}

// 100 records take 234 ms at 38400 baud and 78 ms at 115200.
TEST_F(PtyHostTest, StreamsAtTheFastSpeedsInRealWireTime) {
    constexpr int kRecords = 100;
    constexpr size_t kRecordLength = 9;
    constexpr int kPositionUm = 123450;
    sensor.setMagnet(kPositionUm);
    const uint32_t da = sensor.word("DA") | 1u << 18;  // Measurement 1
    char command[16];
    std::snprintf(command, sizeof command, "DN%06X", da);
    char record[kRecordLength + 1];
    std::snprintf(record, sizeof record, "%08X\r",
                  (kPositionUm / sensor.word("AA")) << (32 - (da & 0xFF)));
    PtyClient client(host.slavePath());
    EXPECT_EQ(ask(client, command, 100), "");
    for (const auto& [speed, baud] : {std::pair{B38400, 38400}, std::pair{B115200, 115200}}) {
        SCOPED_TRACE(baud);
        const auto start = std::chrono::steady_clock::now();
        client.setSpeed(speed);
        const std::string stream =
            client.read(kRecords * kRecordLength, 2000, [&] { host.serve(1); });
        EXPECT_GE(testsupport::msSince(start),
                  int64_t(kRecords * kRecordLength) * 10 * 1000 / baud);
        ASSERT_EQ(stream.size(), kRecords * kRecordLength);
        for (size_t at = 0; at < stream.size(); at += kRecordLength)
            ASSERT_EQ(stream.substr(at, kRecordLength), record) << "at byte " << at;
        client.setSpeed(B4800);
        client.purge();
        EXPECT_EQ(ask(client, "FA"), "10203040\r");
    }
}

TEST(PtyHostUnpacedTest, AnswersWithoutWireTime) {
    platform::SteadyClock clock;
    sim::SensorConfig config;
    config.paced = false;
    config.replyDelayMs = 0;
    sim::SimulatedSensor sensor(config);
    sim::PtyHost host(sensor, clock, false);
    PtyClient client(host.slavePath());
    const auto start = std::chrono::steady_clock::now();
    client.send("FA");
    EXPECT_EQ(client.readLine(300, [&] { host.serve(1); }), "10203040\r");
    EXPECT_LT(testsupport::msSince(start), 40);
}

TEST(TrafficLogTest, LinesShowTimeBaudDirectionAndEscapedText) {
    using Kind = sim::TrafficEntry::Kind;
    EXPECT_EQ(sim::formatTrafficLine({1250, Kind::Command, "FA", 4800}, 1000),
              "       250 ms    4800 baud  RX   FA");
    EXPECT_EQ(sim::formatTrafficLine({1270, Kind::Reply, std::string("3C\0D\\", 5), 4800}, 1000),
              "       270 ms    4800 baud  TX   3C\\x00D\\x5C");
    EXPECT_EQ(sim::formatTrafficLine({1300, Kind::Rts, "1", 38400}, 1000),
              "       300 ms   38400 baud  RTS  1");
}

}  // namespace
