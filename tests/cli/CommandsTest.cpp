#include "cli/Commands.h"
#include "cli/StreamCommand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "platform/ComPortMap.h"
#include "sim/InProcessBackend.h"
#include "sim/SimulatedSensor.h"

namespace {

using sim::TrafficEntry;

sim::SensorConfig preset(const std::string& name) {
    auto config = sim::presetConfig(name);
    EXPECT_TRUE(config.has_value()) << name;
    return config.value_or(sim::SensorConfig{});
}

// The commands over the protocol stack, with a simulated sensor on virtual time.
class CommandsTest : public ::testing::Test {
protected:
    explicit CommandsTest(const std::string& presetName = "qh") : sensor(preset(presetName)) {}

    void SetUp() override { ASSERT_TRUE(com.OpenDefault(1)) << com.LastError().message; }

    std::vector<std::string> commandsSent() const {
        std::vector<std::string> sent;
        for (const TrafficEntry& e : sensor.traffic()) {
            if (e.kind == TrafficEntry::Kind::Command)
                sent.push_back(e.text);
        }
        return sent;
    }
    int bitWidthOnSensor() const { return int(sensor.word("DA") & 0xFF); }

    sim::SimulatedSensor sensor;
    platform::VirtualClock clock;
    sim::InProcessBackend backend{sensor, clock};
    platform::ComPortMap ports;
    TSSICom com{backend, clock, ports};
    std::ostringstream out;
    std::ostringstream err;
    cli::CommandRunner runner{com, "COM1", out, err};
};

class OldFirmwareCommandsTest : public CommandsTest {
protected:
    OldFirmwareCommandsTest() : CommandsTest("old") {}
};

// Firmware type 39606 sends the 32-bit RA word that carries the sample time.
class WideRaCommandsTest : public CommandsTest {
protected:
    WideRaCommandsTest() : CommandsTest("kbf") {}
};

TEST_F(CommandsTest, ReadPrintsEveryRegister) {
    EXPECT_EQ(runner.read(false), 0) << err.str();
    const std::string table = out.str();
    EXPECT_EQ(table.rfind("Sensor on COM1, firmware 3960105 (type 39601)\n", 0), 0u) << table;
    for (int r = 0; r < TSSICom::RegisterCount; ++r) {
        EXPECT_NE(table.find(TSSICom::RegisterKey(TSSICom::RegisterIndex(r))), std::string::npos);
    }
    EXPECT_NE(table.find(sensor.factoryNumber()), std::string::npos);
    EXPECT_EQ(err.str(), "");
}

TEST_F(CommandsTest, ReadAsJsonListsAll37RegistersInOrder) {
    EXPECT_EQ(runner.read(true), 0) << err.str();
    const std::string json = out.str();
    EXPECT_EQ(json.rfind("{\"port\": \"COM1\", \"firmwareType\": 39601, \"registers\": [", 0), 0u);
    size_t at = 0;
    for (int r = 0; r < TSSICom::RegisterCount; ++r) {
        at = json.find("{\"index\": " + std::to_string(r) + ", ", at);
        ASSERT_NE(at, std::string::npos) << r;
    }
    EXPECT_NE(json.find("\"key\": \"BitWidth\", \"value\": " + std::to_string(bitWidthOnSensor())),
              std::string::npos);
    EXPECT_EQ(json.substr(json.size() - 3), "]}\n");
}

TEST_F(CommandsTest, ReadWakesNothing) {
    ASSERT_EQ(runner.read(false), 0);
    const auto sent = commandsSent();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "PROG"), 0);
    EXPECT_EQ(sent.front(), "VA");
}

TEST_F(CommandsTest, SilentSensorFailsAfterFiveAttempts) {
    sensor.faults().silent = true;
    const int64_t start = clock.now();
    EXPECT_EQ(runner.read(true), 1);
    EXPECT_EQ(err.str(), "FirmwareVersion: the sensor on COM1 did not answer\n");
    EXPECT_EQ(out.str(), "");
    EXPECT_GE(clock.now() - start, 450);
    EXPECT_LE(clock.now() - start, 700);
}

TEST_F(CommandsTest, RegisterMissingFromTheSetFailsTheRead) {
    sensor.faults().silentCommands = {"SA"};
    EXPECT_EQ(runner.read(false), 1);
    EXPECT_NE(err.str().find("did not answer every register"), std::string::npos) << err.str();
    EXPECT_EQ(out.str(), "");
}

TEST_F(CommandsTest, GetReadsTheFirmwareVersionFirst) {
    EXPECT_EQ(runner.get(TSSICom::BitWidth), 0) << err.str();
    EXPECT_EQ(out.str(), std::to_string(bitWidthOnSensor()) + "\n");
    const auto sent = commandsSent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0], "VA");
    EXPECT_EQ(sent[1], "DA");
}

TEST_F(CommandsTest, GetShowsModelLettersAndFactoryNumberText) {
    EXPECT_EQ(runner.get(TSSICom::Model), 0);
    EXPECT_EQ(out.str(), sensor.laWord().substr(0, 2) + "\n");
    out.str("");
    EXPECT_EQ(runner.get(TSSICom::FactoryNumber), 0);
    EXPECT_EQ(out.str(), sensor.factoryNumber() + "\n");
}

TEST_F(CommandsTest, GetOfTheLinearizationByteReadsAddress200) {
    EXPECT_EQ(runner.get(TSSICom::LinTableByte), 0) << err.str();
    EXPECT_EQ(out.str(), std::to_string(sensor.linTableByte(200)) + "\n");
    EXPECT_EQ(commandsSent().back(), "XA00C800");
}

TEST_F(WideRaCommandsTest, GetOfTheSampleTimeReadsTheRaWord) {
    EXPECT_EQ(runner.get(TSSICom::SSISampleTime), 0) << err.str();
    EXPECT_EQ(commandsSent().back(), "RA");
    EXPECT_EQ(out.str(), std::to_string(sensor.word("RA") >> 16) + "\n");
}

TEST_F(CommandsTest, GetOfASilentRegisterNamesIt) {
    sensor.faults().silentCommands = {"JA"};
    EXPECT_EQ(runner.get(TSSICom::Chargepump), 1);
    EXPECT_EQ(err.str(), "Chargepump: the sensor on COM1 did not answer\n");
}

TEST_F(CommandsTest, SetWritesAndConfirms) {
    const int other = bitWidthOnSensor() == 24 ? 25 : 24;
    EXPECT_EQ(runner.set(TSSICom::BitWidth, {other, {}}), 0) << err.str();
    EXPECT_EQ(bitWidthOnSensor(), other);
    EXPECT_EQ(out.str().rfind("BitWidth = " + std::to_string(other) + " ", 0), 0u) << out.str();
    EXPECT_EQ(commandsSent().front(), "VA");
}

TEST_F(CommandsTest, RefusedWriteReportsBothValues) {
    const int before = bitWidthOnSensor();
    const int wanted = before == 24 ? 25 : 24;
    sensor.faults().refusedCommands = {"DN"};
    EXPECT_EQ(runner.set(TSSICom::BitWidth, {wanted, {}}), 1);
    EXPECT_EQ(err.str(), "BitWidth: sensor reports " + std::to_string(before) + " after writing " +
                             std::to_string(wanted) + "\n");
    EXPECT_EQ(bitWidthOnSensor(), before);
}

TEST_F(CommandsTest, SetOfTheFactoryNumberTakesItsText) {
    EXPECT_EQ(runner.set(TSSICom::FactoryNumber, {0, "00004321"}), 0) << err.str();
    EXPECT_EQ(sensor.factoryNumber(), "00004321");
}

TEST_F(CommandsTest, SetOfTheModelKeepsTheLength) {
    const std::string length = sensor.laWord().substr(2);
    EXPECT_EQ(runner.set(TSSICom::Model, {'K' * 256 + 'P', {}}), 0) << err.str();
    EXPECT_EQ(sensor.laWord(), "KP" + length);
}

TEST_F(CommandsTest, SetOnASilentSensorNamesTheFirmwareRead) {
    sensor.faults().silent = true;
    EXPECT_EQ(runner.set(TSSICom::BitWidth, {24, {}}), 1);
    EXPECT_EQ(err.str(), "FirmwareVersion: the sensor on COM1 did not answer\n");
}

TEST_F(CommandsTest, CommitAboveTheThresholdUsesCN) {
    EXPECT_EQ(runner.commit(), 0);
    EXPECT_EQ(out.str(), "Committed with CN (firmware 3960105)\n");
    EXPECT_EQ(sensor.commitCount("CN"), 1);
    EXPECT_EQ(sensor.commitCount("EN"), 0);
}

TEST_F(OldFirmwareCommandsTest, CommitUpToTheThresholdUsesEN) {
    EXPECT_EQ(runner.commit(), 0);
    EXPECT_EQ(out.str(), "Committed with EN (firmware 3960100)\n");
    EXPECT_EQ(sensor.commitCount("EN"), 1);
    EXPECT_EQ(sensor.commitCount("CN"), 0);
}

TEST_F(CommandsTest, CommitNeedsTheFirmwareVersion) {
    sensor.faults().silent = true;
    EXPECT_EQ(runner.commit(), 1);
    EXPECT_EQ(sensor.commitCount("CN") + sensor.commitCount("EN"), 0);
}

TEST_F(CommandsTest, WakeSendsTheWakeUpSequence) {
    EXPECT_EQ(runner.wake(), 0) << err.str();
    const auto sent = commandsSent();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "PROG"), 35);
    const auto& traffic = sensor.traffic();
    EXPECT_TRUE(std::any_of(traffic.begin(), traffic.end(), [](const TrafficEntry& e) {
        return e.kind == TrafficEntry::Kind::Rts && e.text == "1";
    }));
}

TEST_F(CommandsTest, RunDispatchesTheParsedCommand) {
    cli::Invocation invocation;
    invocation.command = cli::Command::Get;
    invocation.key = TSSICom::FirmwareVersion;
    EXPECT_EQ(runner.run(invocation, std::nullopt), 0);
    EXPECT_EQ(out.str(), "3960105\n");
}

TEST_F(CommandsTest, RunRefusesASetWithoutItsValue) {
    cli::Invocation invocation;
    invocation.command = cli::Command::Set;
    invocation.key = TSSICom::BitWidth;
    EXPECT_EQ(runner.run(invocation, std::nullopt), 2);
    EXPECT_TRUE(commandsSent().empty());
}

}  // namespace

namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> split;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        split.push_back(line);
    return split;
}

std::vector<std::string> bauds(const sim::SimulatedSensor& sensor) {
    std::vector<std::string> changes;
    for (const TrafficEntry& e : sensor.traffic()) {
        if (e.kind == TrafficEntry::Kind::Baud)
            changes.push_back(e.text);
    }
    return changes;
}

TEST_F(CommandsTest, StreamPrintsEachSampleInItsFormatAndLeavesTestMode) {
    const struct {
        cli::SampleFormat format;
        bool temperatureBit;
        std::string header;
        std::string line;  // the sample line before the record
    } cases[] = {
        {cli::SampleFormat::Json, false, "",
         "{\"position_mm\": 123.45, \"temperature\": null, \"raw\": \""},
        {cli::SampleFormat::Json, true, "",
         "{\"position_mm\": 123.45, \"temperature\": 25, \"raw\": \""},
        {cli::SampleFormat::Csv, true, "position_mm,temperature,raw", "123.45,25,"},
        {cli::SampleFormat::Text, true, "", "123.45 mm  25 °C"},
    };
    const volatile std::sig_atomic_t running = 0;
    for (const auto& c : cases) {
        sensor.clearTraffic();
        sensor.setWord("KA", c.temperatureBit ? 0x00020001 : 0x00000001);
        sensor.setMagnet(123450);
        out.str("");
        ASSERT_EQ(runner.stream({5, std::nullopt, c.format, false}, running), 0) << err.str();
        std::vector<std::string> printed = lines(out.str());
        if (!c.header.empty()) {
            ASSERT_FALSE(printed.empty());
            EXPECT_EQ(printed.front(), c.header);
            printed.erase(printed.begin());
        }
        ASSERT_EQ(printed.size(), 5u) << out.str();
        for (const std::string& line : printed) {
            EXPECT_EQ(line.substr(0, c.line.size()), c.line);
            if (c.format == cli::SampleFormat::Text)
                continue;
            const size_t recordStart = c.line.size();
            const std::string record = line.substr(recordStart, 8);
            EXPECT_NE(std::find(sensor.streamed().begin(), sensor.streamed().end(), record),
                      sensor.streamed().end())
                << line;
        }
        EXPECT_EQ(bauds(sensor), (std::vector<std::string>{"38400", "4800"}));
        EXPECT_TRUE(com.ReadRegister(TSSICom::FactoryNumber));
    }
}

TEST_F(CommandsTest, StreamStatisticsFollowTheSamplesAndADurationEndsTheStream) {
    const volatile std::sig_atomic_t running = 0;
    sensor.setWord("KA", 0x00000001);
    sensor.setMagnet(123450);
    ASSERT_EQ(runner.stream({4, std::nullopt, cli::SampleFormat::Text, true}, running), 0)
        << err.str();
    std::vector<std::string> printed = lines(out.str());
    ASSERT_EQ(printed.size(), 4u + 7u) << out.str();
    EXPECT_EQ(printed[4].rfind("Statistics: 4 samples, ", 0), 0u) << printed[4];
    EXPECT_TRUE(printed[4].ends_with("/s, 0 error values, 0 undecoded blocks")) << printed[4];
    EXPECT_EQ(printed[5], "  the wire carries 225.9 blocks/s");
    EXPECT_EQ(printed[6], "  mean 123450.00 µm, standard deviation 0.00 µm, peak-to-peak 0.0 µm");
    EXPECT_EQ(printed[7], "  minimum 123.45 mm, maximum 123.45 mm");
    EXPECT_EQ(printed[8].rfind("Last 4 samples: ", 0), 0u) << printed[8];
    EXPECT_EQ(printed[9], "  mean 123450.00 µm, standard deviation 0.00 µm, peak-to-peak 0.0 µm");
    EXPECT_EQ(printed[10], "  minimum 123.45 mm, maximum 123.45 mm");

    // Two seconds on the link's clock: the blocks that 38400 baud carries in them.
    out.str("");
    const int64_t start = clock.now();
    ASSERT_EQ(runner.stream({std::nullopt, 2.0, cli::SampleFormat::Json, true}, running), 0);
    EXPECT_GE(clock.now() - start, 2000);
    printed = lines(out.str());
    ASSERT_FALSE(printed.empty());
    const std::string stats = printed.back();
    printed.pop_back();
    EXPECT_NEAR(double(printed.size()), 2 * 38400 / 170.0, 3);
    EXPECT_EQ(stats.rfind("{\"stats\": {\"samples\": " + std::to_string(printed.size()) +
                              ", \"positions\": " + std::to_string(printed.size()) + ", ",
                          0),
              0u)
        << stats;
    EXPECT_NE(stats.find("\"stddev_um\": 0.0000, \"peak_to_peak_um\": 0.0, \"min_mm\": "
                         "123.45, \"max_mm\": 123.45}, \"wire_samples_per_s\": 225.882, "
                         "\"window\": {\"samples\": 300, \"positions\": 300, "),
              std::string::npos)
        << stats;
    EXPECT_TRUE(com.ReadRegister(TSSICom::FactoryNumber));
}

TEST_F(CommandsTest, AStopBeforeTheFirstSampleStillTakesTheSensorBack) {
    const volatile std::sig_atomic_t stopped = 1;
    ASSERT_EQ(runner.stream({}, stopped), 0);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(bauds(sensor), (std::vector<std::string>{"38400", "4800"}));
    EXPECT_EQ(com[TSSICom::Measurement].Value & 1, 0);
}

}  // namespace

namespace {

TEST_F(OldFirmwareCommandsTest, AStreamWhoseModeIsNotTakenBackFails) {
    int modeWrites = 0;
    sensor.faults().refuses = [&](const std::string& line) {
        return line.rfind("DN", 0) == 0 && ++modeWrites > 1;  // the write into test mode passes
    };
    const volatile std::sig_atomic_t running = 0;
    EXPECT_EQ(runner.stream({3, std::nullopt, cli::SampleFormat::Text, false}, running), 1);
    EXPECT_EQ(lines(out.str()).size(), 3u);
    EXPECT_NE(err.str().find("did not take its measurement mode back"), std::string::npos)
        << err.str();
}

}  // namespace
