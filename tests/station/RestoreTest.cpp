#include "station/Restore.h"

#include <gtest/gtest.h>

#include <memory>

#include "comm/SensorRules.h"
#include "files/StoredSet.h"
#include "platform/ComPortMap.h"
#include "sim/InProcessBackend.h"
#include "sim/SimulatedSensor.h"

namespace {

// One simulated sensor on its own port.
struct Bench {
    explicit Bench(const sim::SensorConfig& config) : sensor(config) {}

    sim::SimulatedSensor sensor;
    platform::VirtualClock clock;
    sim::InProcessBackend backend{sensor, clock};
    platform::ComPortMap ports;
    TSSICom com{backend, clock, ports};

    int writes() const {
        int count = 0;
        for (const sim::TrafficEntry& entry : sensor.traffic())
            count += entry.kind == sim::TrafficEntry::Kind::Command && entry.text.size() >= 2 &&
                     entry.text[1] == 'N';
        return count;
    }
};

sim::SensorConfig replacementConfig() {
    sim::SensorConfig config = *sim::presetConfig("qh");
    config.factoryNumber = "55550001";
    config.lengthMm = 750;
    config.words["UA"] = 281500;
    return config;
}

// The set of the sensor taken out: a QH whose user set 13 data bits and 10 µm.
class RestoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        Bench old(*sim::presetConfig("qh"));
        old.sensor.setWord("DA", (old.sensor.word("DA") & ~sim::kBitWidthMask) | 13);
        old.sensor.setWord("AA", 10);
        ASSERT_TRUE(old.com.OpenDefault(1));
        ASSERT_TRUE(old.com.ReadParameterSet());
        oldSet = old.com.Parameters();
        ASSERT_EQ(oldSet[TSSICom::BitWidth].Value, 13);
        ASSERT_TRUE(replacement.com.OpenDefault(1));
        replacement.sensor.clearTraffic();
    }

    ParameterSet oldSet;
    Bench replacement{replacementConfig()};
};

TEST_F(RestoreTest, ReplacementTakesTheUserSettingsAndKeepsItsOwnIdentityAndBuild) {
    const uint32_t ownSpeed = replacement.sensor.word("UA");
    const std::string ownLa = replacement.sensor.laWord();

    const station::RestoreResult result = station::Restore(replacement.com, oldSet, true);

    EXPECT_FALSE(result.refused());
    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(result.apply.committed);
    EXPECT_EQ(replacement.sensor.commitCount("CN"), 1);
    EXPECT_EQ(replacement.sensor.factoryNumber(), "55550001");
    EXPECT_EQ(replacement.sensor.word("VA"), 3960105u);
    EXPECT_EQ(replacement.sensor.word("DA") & sim::kBitWidthMask, 13u);
    EXPECT_EQ(replacement.sensor.word("AA"), 10u);
    EXPECT_EQ(replacement.sensor.laWord(), ownLa);
    EXPECT_EQ(replacement.sensor.word("UA"), ownSpeed);
    // The scale follows the replacement's own speed at the old resolution.
    EXPECT_EQ(int32_t(replacement.sensor.word("SA")), int32_t(ownSpeed * 512 / 10 / 100));
    EXPECT_TRUE(result.apply.mismatches().empty());
    for (const station::Check& check : result.apply.checks) {
        if (check.reg == TSSICom::Length) {
            EXPECT_EQ(check.wanted, 750);
        }
    }
}

TEST_F(RestoreTest, TheFactoryNumberNeverComesFromTheOldSet) {
    const files::ParameterFile file = station::ReplacementFile(oldSet, [this] {
        EXPECT_TRUE(replacement.com.ReadParameterSet());
        return replacement.com.Parameters();
    }());

    EXPECT_EQ(file.values[TSSICom::FactoryNumber], 55550001);
    EXPECT_EQ(file.values[TSSICom::FirmwareVersion], 3960105);
    EXPECT_EQ(file.values[TSSICom::Length], 750);
    EXPECT_EQ(file.values[TSSICom::BitWidth], 13);
    EXPECT_EQ(file.values[TSSICom::Resolution], 10);
    EXPECT_EQ(file.values.size(), size_t(files::StoredRegisterCount));
}

TEST_F(RestoreTest, ASetThatDoesNotFitIsRefusedBeforeAnythingIsWritten) {
    const auto withModel = [this](char first, char second) {
        ParameterSet set = oldSet;
        set[TSSICom::Model].Value = rules::ModelValue(first, second);
        return set;
    };
    const auto withFirmware = [this](int32_t version, bool answered) {
        ParameterSet set = oldSet;
        set[TSSICom::FirmwareVersion].Value = version;
        set[TSSICom::FirmwareVersion].Answered = answered;
        return set;
    };
    const struct {
        const char* name;
        ParameterSet old;
        station::Misfit misfit;
    } cases[] = {
        {"another firmware type", withFirmware(3960607, true), station::Misfit::FirmwareType},
        {"an unread firmware version", withFirmware(3960105, false), station::Misfit::FirmwareType},
        {"a K-series model", withModel('K', 'H'), station::Misfit::Model},
        {"a B-series model", withModel('B', 'P'), station::Misfit::Model},
        {"unknown model letters", withModel('Z', 'Z'), station::Misfit::Model},
        {"another Q-series model", withModel('Q', 'P'), station::Misfit::None},
        {"a later version of the same type", withFirmware(3960109, true), station::Misfit::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        replacement.sensor.clearTraffic();

        const station::RestoreResult result = station::Restore(replacement.com, c.old, false);

        EXPECT_EQ(result.misfit, c.misfit);
        EXPECT_EQ(result.refused(), c.misfit != station::Misfit::None);
        if (result.refused()) {
            EXPECT_EQ(replacement.writes(), 0);
            EXPECT_TRUE(result.apply.checks.empty());
            EXPECT_FALSE(result.ok());
            EXPECT_EQ(result.presentModel, rules::ModelValue('Q', 'H'));
            EXPECT_EQ(result.presentFirmware, 3960105);
        } else {
            EXPECT_TRUE(result.ok());
            EXPECT_GT(replacement.writes(), 0);
            // The replacement keeps its own model letters.
            EXPECT_EQ(replacement.sensor.laWord().substr(0, 2), "QH");
        }
    }
}

TEST_F(RestoreTest, ASilentSensorIsAFailedReadWithNothingWritten) {
    replacement.sensor.faults().silent = true;

    const station::RestoreResult result = station::Restore(replacement.com, oldSet, true);

    EXPECT_FALSE(result.refused());
    EXPECT_EQ(result.apply.failure, station::ApplyResult::Failure::Read);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(replacement.sensor.commitCount("CN"), 0);
}

}  // namespace
