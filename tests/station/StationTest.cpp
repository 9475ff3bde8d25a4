#include "station/Station.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "files/StoredSet.h"
#include "platform/ComPortMap.h"
#include "sim/InProcessBackend.h"
#include "sim/SimulatedSensor.h"
#include "support/SwitchedBackend.h"

namespace {

const std::string Device = "/dev/ttyUSB0";

sim::SensorConfig sensorNumbered(const std::string& factoryNumber) {
    sim::SensorConfig config = *sim::presetConfig("qh");
    config.factoryNumber = factoryNumber;
    return config;
}

// Records what the loop told it and plays the operator: takes a sensor off
// when the loop waits for that, and stops the loop when told to.
class ScriptedHost : public station::StationHost {
public:
    std::vector<std::string> log;
    std::set<std::string> doneBefore;
    std::function<void(const std::string&)> onRemovalWait;
    std::function<void(int)> onSensorWait;
    int sensorWaits = 0;
    bool stop = false;

    bool stopRequested() override { return stop; }
    bool doneToday(const std::string& factoryNumber) override {
        return doneBefore.count(factoryNumber) != 0;
    }
    void waitingForSensor() override {
        log.push_back("wait");
        ++sensorWaits;
        if (onSensorWait)
            onSensorWait(sensorWaits);
    }
    void applying(const std::string& factoryNumber) override {
        log.push_back("applying " + factoryNumber);
    }
    void applied(const std::string& factoryNumber, const station::ApplyResult& result) override {
        log.push_back(factoryNumber + (result.ok() ? " ok" : " failed"));
    }
    void skipped(const std::string& factoryNumber) override {
        log.push_back(factoryNumber + " skipped");
    }
    void waitingForRemoval(const std::string& factoryNumber) override {
        log.push_back("remove " + factoryNumber);
        if (onRemovalWait)
            onRemovalWait(factoryNumber);
    }
};

// The loop's clock: virtual time that tells the test of every pause.
class NotedPauses final : public platform::Clock {
public:
    explicit NotedPauses(platform::VirtualClock& time) : time_(time) {}
    int64_t now() override { return time_.now(); }
    void sleep(int64_t ms) override {
        time_.sleep(ms);
        if (onPause)
            onPause(ms);
    }
    std::function<void(int64_t)> onPause;

private:
    platform::VirtualClock& time_;
};

// Two sensors that come to the same port one after the other.
class StationTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (sim::SimulatedSensor* sensor : {&first, &second})
            sensor->setWord("DA", (sensor->word("DA") & ~sim::kBitWidthMask) | 13);
        file = fileWithBitWidth(25);
        host.onRemovalWait = [this](const std::string& factoryNumber) {
            if (factoryNumber == "11110001") {
                firstBackend.unplug();
                port.devices.erase(Device);
            } else {
                host.stop = true;
            }
        };
        host.onSensorWait = [this](int wait) {
            if (wait == 2)
                port.devices[Device] = &secondBackend;
        };
        port.devices[Device] = &firstBackend;
    }

    files::ParameterFile fileWithBitWidth(int32_t bitWidth) {
        ParameterSet set;
        sim::SimulatedSensor source(sensorNumbered("99990000"));
        sim::InProcessBackend sourcePort(source, clock);
        TSSICom reader(sourcePort, clock, ports);
        EXPECT_TRUE(reader.OpenDefault(1));
        EXPECT_TRUE(reader.ReadParameterSet());
        files::ParameterFile made = files::FileOfSet(reader.Parameters(), "KYR", {2026, 12, 10});
        made.values[TSSICom::BitWidth] = bitWidth;
        return made;
    }

    platform::VirtualClock clock;
    sim::SimulatedSensor first{sensorNumbered("11110001")};
    sim::SimulatedSensor second{sensorNumbered("11110002")};
    sim::InProcessBackend firstBackend{first, clock, Device};
    sim::InProcessBackend secondBackend{second, clock, Device};
    SwitchedBackend port;
    platform::ComPortMap ports;
    NotedPauses pauses{clock};
    TSSICom com{port, pauses, ports};
    files::ParameterFile file;
    ScriptedHost host;
    int polls = 0;
};

TEST_F(StationTest, EachSensorIsSetUpCommittedAndAwaitedUntilItIsGone) {
    station::RunStation(com, 1, file, false, host);

    EXPECT_EQ(host.log, (std::vector<std::string>{"wait", "applying 11110001", "11110001 ok",
                                                  "remove 11110001", "wait", "applying 11110002",
                                                  "11110002 ok", "remove 11110002"}));
    for (const sim::SimulatedSensor* sensor : {&first, &second}) {
        EXPECT_EQ(sensor->word("DA") & sim::kBitWidthMask, 25u);
        EXPECT_EQ(
            sensor->bank(sim::SimulatedSensor::Bank::Eeprom).words.at("DA") & sim::kBitWidthMask,
            25u);
        EXPECT_EQ(sensor->commitCount("CN"), 1);
    }
}

TEST_F(StationTest, ASensorDoneTodayIsSkippedUnlessAgain) {
    for (const bool again : {false, true}) {
        SCOPED_TRACE(again ? "again" : "once");
        host.log.clear();
        host.sensorWaits = 0;
        host.stop = false;
        port.devices[Device] = &firstBackend;
        firstBackend.plugIn();
        com.Close();
        host.doneBefore = {"11110001"};
        const int commitsBefore = first.commitCount("CN");

        station::RunStation(com, 1, file, again, host);

        ASSERT_GE(host.log.size(), 3u);
        EXPECT_EQ(host.log[1], again ? "applying 11110001" : "11110001 skipped");
        EXPECT_EQ(first.commitCount("CN"), commitsBefore + (again ? 1 : 0));
    }
}

TEST_F(StationTest, AnAbsentOrSilentPortIsPolledCalmlyUntilASensorAnswers) {
    port.devices.erase(Device);
    first.faults().silent = true;
    pauses.onPause = [this](int64_t ms) {
        if (ms != station::StationPollMs)
            return;
        ++polls;
        if (polls == 4)
            port.devices[Device] = &firstBackend;
        if (polls == 8)
            first.faults().silent = false;
    };
    host.onRemovalWait = [this](const std::string&) { host.stop = true; };
    const int64_t start = clock.now();

    station::RunStation(com, 1, file, false, host);

    EXPECT_EQ(host.log, (std::vector<std::string>{"wait", "applying 11110001", "11110001 ok",
                                                  "remove 11110001"}));
    // One pause after each of the four polls of an absent and the four of a silent port.
    EXPECT_EQ(polls, 8);
    EXPECT_GE(clock.now() - start, 8 * station::StationPollMs);
}

TEST_F(StationTest, OneSilentPollDoesNotCountAsARemoval) {
    bool removing = false;
    // A read is tried five times before the poll gives up.
    constexpr int ReadsPerPoll = 5;
    int unansweredPresenceReads = 0;
    first.faults().refuses = [&unansweredPresenceReads](const std::string& line) {
        if (line != "FA" || unansweredPresenceReads == 0)
            return false;
        --unansweredPresenceReads;
        return true;
    };
    host.onRemovalWait = [&removing](const std::string&) { removing = true; };
    // While the loop waits for the first sensor to go: one poll without an
    // answer, two with it, then the sensor goes for good.
    pauses.onPause = [this, &removing, &unansweredPresenceReads](int64_t ms) {
        if (!removing || ms != station::StationPollMs)
            return;
        // Waiting for the next sensor on the empty port.
        host.stop = host.sensorWaits == 2;
        ++polls;
        if (polls == 1)
            unansweredPresenceReads = ReadsPerPoll;
        if (polls == 3) {
            firstBackend.unplug();
            port.devices.erase(Device);
        }
    };
    host.onSensorWait = nullptr;

    station::RunStation(com, 1, file, false, host);

    EXPECT_EQ(host.log, (std::vector<std::string>{"wait", "applying 11110001", "11110001 ok",
                                                  "remove 11110001", "wait"}));
    EXPECT_EQ(first.commitCount("CN"), 1);
}

}  // namespace
