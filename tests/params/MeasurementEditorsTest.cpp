#include <gtest/gtest.h>

#include <QPushButton>
#include <QTimer>

#include "EditorsHarness.h"
#include "comm/RegisterTable.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/RadioGroup.h"
#include "ui/controls/StatusLamp.h"

namespace {

using namespace editortest;

int32_t Signed24(uint32_t word) {
    return static_cast<int32_t>(word << 8) >> 8;
}

sim::SensorConfig Sensor(const char* model, int lengthMm, Words words = {}) {
    sim::SensorConfig config;
    config.model = model;
    config.lengthMm = lengthMm;
    config.words = std::move(words);
    return config;
}

TEST_F(EditorsTest, AnotherFilterGradeKeepsTheOffsetInMicrometres) {
    connect(WithWords({{"DA", (1u << 22) | 25u}, {"NA", 100}}));
    EXPECT_EQ(ui().Measurement.Offset->text(), "250");
    ui().Measurement.FilterS->setItemIndex(3);
    std::vector<std::string> writes;
    for (const auto& command : commands()) {
        if (command[1] == 'N')
            writes.push_back(command);
    }
    EXPECT_EQ(writes, (std::vector<std::string>{"DNC00019", "NN000190"})) << "filter, then offset";
    EXPECT_EQ(Signed24(word("NA")), 400);
}

TEST_F(EditorsTest, TheInverseDirectionMirrorsTheOffsetOnQModelsOnly) {
    struct Case {
        const char* model;
        int length;
        const char* offset;
    };
    for (const Case& c : {Case{"QH", 500, "614500"}, Case{"QH", 6000, "6117000"},
                          Case{"QP", 500, "594000"}, Case{"PA", 500, "0"}}) {
        SCOPED_TRACE(c.model + std::to_string(c.length));
        connect(Sensor(c.model, c.length));
        ui().Measurement.Direction->setItemIndex(1);
        EXPECT_EQ(ui().Measurement.Offset->text(), c.offset);
        const bool mirrored = std::string(c.model) != "PA";
        EXPECT_EQ(count("NN"), mirrored ? 2 : 0) << "the field's handler, then the direct call";
        EXPECT_EQ(Signed24(word("NA")), QString(c.offset).toInt() / 5);
        EXPECT_EQ(word("DA") >> 16 & 1, 1u);
        EXPECT_EQ(harness->dialogs.messages.size(), mirrored ? 0u : 1u);
    }
}

TEST_F(EditorsTest, AResolutionWritesItsScaleAndOffset) {
    connect(WithWords({{"UA", 277695}}));
    ui().Measurement.Resolution->setText(QStringLiteral("8"));
    EXPECT_EQ(word("AA"), 8u);
    EXPECT_EQ(word("SA"), 177724u);
    EXPECT_EQ(ui().ExpertSettings.Scale->text(), "177724");

    ui().Measurement.Resolution->setText(QStringLiteral("0,5"));
    EXPECT_EQ(word("AA"), 1u);
    EXPECT_EQ(word("SA"), 2843596u);
    EXPECT_EQ(ui().Measurement.Resolution->text(), "0.5");
    EXPECT_TRUE(harness->dialogs.messages.empty());
}

TEST_F(EditorsTest, HalfMicrometresAreForTheQSeriesOnly) {
    connect(Model("KH"));
    ui().Measurement.Resolution->setText(QStringLiteral("0.5"));
    EXPECT_EQ(onlyMessage(), "Not available for this Sensor type!\nAvailable only for Q Series!");
    EXPECT_EQ(count("AN") + count("SN") + count("NN"), 0);
}

TEST_F(EditorsTest, ACommaHalfMicrometreRunsTheSettingOnce) {
    connect(WithWords({{"UA", 277695}}));
    ui().Measurement.Resolution->setText(QStringLiteral("0,5"));
    EXPECT_EQ(count("AN"), 1);
    EXPECT_EQ(count("SN"), 1);
    EXPECT_EQ(count("NN"), 1);
    EXPECT_EQ(ui().Measurement.Resolution->text(), "0.5");

    connect(Model("KH"));
    ui().Measurement.Resolution->setText(QStringLiteral("0,5"));
    EXPECT_EQ(onlyMessage(), "Not available for this Sensor type!\nAvailable only for Q Series!");
}

// The sensor ignores a resolution below 10 µm on a K-series model and the
// 0.5 µm setting here; each refusal names itself and the field shows the sensor.
TEST_F(EditorsTest, ARefusedResolutionIsNamedAndTheFieldShowsTheSensorsValue) {
    struct Case {
        const char* model;
        const char* typed;
        const char* message;
    };
    const Case cases[] = {
        {"KH", "5", "Resolution must be greater than 10µm (K Series)!\nFor Q Serie SSI up to 1µm"},
        {"QH", "0.5", "Not available for this Sensor type!\nAvailable only for Q Series!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        sim::SensorConfig config = Model(c.model);
        config.words = {{"AA", 10}};
        connect(config);
        harness->sensor.faults().refuses = [](const std::string& line) {
            return line.rfind("AN", 0) == 0 && std::stoi(line.substr(2)) < 10;
        };
        ui().Measurement.Resolution->setText(QString::fromLatin1(c.typed));
        EXPECT_EQ(onlyMessage(), c.message);
        EXPECT_EQ(word("AA"), 10u);
        EXPECT_EQ(ui().Measurement.Resolution->text(), "10");
        EXPECT_TRUE(form->State.SensorOnline);
    }
}

TEST_F(EditorsTest, ALongLengthGoesInFiftyMillimetreSteps) {
    for (const int length : {10030, 10050}) {
        SCOPED_TRACE(length);
        connect();
        ui().ExpertSettings.Length->setText(QString::number(length));
        const bool stepped = length == 10030;
        EXPECT_EQ(harness->dialogs.messages.size(), stepped ? 1u : 0u);
        int32_t written = 0;
        ASSERT_TRUE(comm::decodeLengthCode(harness->sensor.laWord(), written));
        EXPECT_EQ(written, stepped ? 10000 : 10050);
        EXPECT_EQ(count("ZN"), stepped ? 2 : 1) << "the cycle times follow each length written";
    }
}

// The sensor streams its position plus its offset; the new offset makes it read 0.
TEST_F(EditorsTest, TheNewOriginMakesThePresentPositionReadZero) {
    struct Case {
        int firmware;
        const char* commit;
    };
    for (const Case& c : {Case{3960105, "CN"}, Case{3960100, "EN"}}) {
        SCOPED_TRACE(c.firmware);
        sim::SensorConfig config = Firmware(c.firmware);
        config.magnetPositionUm = 100000;
        connect(config);
        ui().Measurement.OriginButton->click();

        EXPECT_EQ(Signed24(word("NA")), -20000);
        EXPECT_EQ(ui().Measurement.Offset->text(), "-100000");
        EXPECT_TRUE(harness->dialogs.messages.empty());
        std::vector<std::string> bauds;
        for (const auto& entry : harness->sensor.traffic()) {
            if (entry.kind == TrafficEntry::Kind::Baud)
                bauds.push_back(entry.text);
        }
        EXPECT_EQ(bauds, (std::vector<std::string>{"38400", "4800"}));
        const bool old = c.firmware == 3960100;
        EXPECT_EQ(count(c.commit), old ? 2 : 1);
        EXPECT_EQ((word("DA") >> 18) & 3, old ? 0u : 1u) << "old firmware gets its mode back";
        EXPECT_TRUE(form->Timer1->isActive());
    }
}

TEST_F(EditorsTest, ANewOriginWithoutAStreamLeavesTheOffset) {
    connect();
    harness->sensor.faults().silent = true;
    ui().Measurement.OriginButton->click();
    EXPECT_EQ(onlyMessage(),
              "No position was received from the sensor.\nThe origin has not been changed.");
    EXPECT_EQ(count("NN"), 0);
}

TEST_F(EditorsTest, RangePointsAreTaughtFromOneMagnetAndDeletedWithTheirButtons) {
    sim::SensorConfig noMagnet;
    noMagnet.magnetCount = 0;
    connect(noMagnet);
    ui().Measurement2.SetStartPoint->click();
    EXPECT_EQ(onlyMessage(), "None or too many magnets found!");
    EXPECT_EQ(form->ui.StatusLED->colour(), StatusLamp::Red);

    connect(Model("KP"));
    ui().Measurement2.SetEndPoint->click();
    EXPECT_EQ(onlyMessage(), "At K Series not available!");
    EXPECT_EQ(count("YN"), 0);
    EXPECT_EQ(count("YA00000000") + count("YA80000000"), 2);

    connect();
    harness->sensor.faults().silentCommands = {"YN40000000"};
    ui().Measurement2.DelStartPoint->click();
    EXPECT_EQ(onlyMessage(), "Operation failed!");
    EXPECT_TRUE(form->Timer1->isActive()) << "the poll goes on";
}

}  // namespace
