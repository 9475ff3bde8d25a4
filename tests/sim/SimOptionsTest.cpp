#include "sim/tools/SimOptions.h"

#include <gtest/gtest.h>

#include "sim/SimulatedSensor.h"

namespace {

sim::SimOptions parsed(const std::vector<std::string>& args) {
    auto result = sim::parseSimOptions(args);
    if (auto* error = std::get_if<std::string>(&result))
        ADD_FAILURE() << *error;
    return std::get<sim::SimOptions>(result);
}

std::string error(const std::vector<std::string>& args) {
    auto result = sim::parseSimOptions(args);
    return std::holds_alternative<std::string>(result) ? std::get<std::string>(result) : "";
}

TEST(SimOptionsTest, DefaultsToAnAwakePacedQhSensor) {
    const auto options = parsed({});
    EXPECT_EQ(options.sensor.model, "QH");
    EXPECT_EQ(options.sensor.firmwareVersion, 3960105);
    EXPECT_TRUE(options.sensor.startsAwake);
    EXPECT_TRUE(options.sensor.paced);
    EXPECT_FALSE(options.faults.silent);
    EXPECT_EQ(options.unplugAfterSeconds, 0);
    EXPECT_TRUE(options.linkPath.empty());
}

TEST(SimOptionsTest, SensorChoicesApplyOverThePresetInAnyOrder) {
    const auto options =
        parsed({"--model", "kh", "--firmware=3960610", "--preset", "b", "--factory-number", "ab12",
                "--position=250000", "--stream-step", "40"});
    EXPECT_EQ(options.sensor.model, "KH");
    EXPECT_EQ(options.sensor.magnetPositionUm, 250000);
    EXPECT_EQ(options.sensor.streamStepUm, 40);
    EXPECT_EQ(options.sensor.firmwareVersion, 3960610);
    EXPECT_EQ(options.sensor.factoryNumber, "AB12");
    EXPECT_EQ(options.sensor.lengthMm, sim::presetConfig("b")->lengthMm);
}

TEST(SimOptionsTest, FilesFaultsAndFlags) {
    const auto options =
        parsed({"--link", "/tmp/s", "--state=/tmp/st", "--log", "/tmp/l", "--no-pace", "--asleep",
                "--silent", "--drop-every", "3", "--corrupt-every", "5", "--unplug-after", "1.5"});
    EXPECT_EQ(options.linkPath, "/tmp/s");
    EXPECT_EQ(options.statePath, "/tmp/st");
    EXPECT_EQ(options.logPath, "/tmp/l");
    EXPECT_FALSE(options.sensor.paced);
    EXPECT_FALSE(options.sensor.startsAwake);
    EXPECT_TRUE(options.faults.silent);
    EXPECT_EQ(options.faults.dropEveryNthReply, 3);
    EXPECT_EQ(options.faults.corruptEveryNthReply, 5);
    EXPECT_DOUBLE_EQ(options.unplugAfterSeconds, 1.5);
    EXPECT_TRUE(parsed({"--help"}).help);
    EXPECT_TRUE(parsed({"--version"}).version);
    EXPECT_FALSE(parsed({"--help"}).version);
}

TEST(SimOptionsTest, BadOptionsAreExplained) {
    EXPECT_NE(error({"--bogus"}).find("unknown option"), std::string::npos);
    EXPECT_NE(error({"--link"}).find("expects a value"), std::string::npos);
    EXPECT_NE(error({"--preset", "zz"}).find("zz"), std::string::npos);
    for (const auto& bad : std::vector<std::vector<std::string>>{
             {"--model", "Q"},
             {"--model", "Q1"},
             {"--firmware", "396010"},
             {"--firmware", "39601x5"},
             {"--factory-number", "123456789"},
             {"--factory-number", "12 4"},
             {"--drop-every", "0"},
             {"--corrupt-every", "x"},
             {"--position", "-5"},
             {"--position", "1.5"},
             {"--unplug-after", "-1"},
             {"--unplug-after", "2s"},
             {"--silent=yes"},
         })
        EXPECT_FALSE(error(bad).empty()) << bad[0];
}

}  // namespace
