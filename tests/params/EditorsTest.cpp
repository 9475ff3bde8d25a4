#include <gtest/gtest.h>

#include <QPushButton>
#include <QTimer>

#include "EditorsHarness.h"
#include "comm/SensorRules.h"
#include "ui/MainTexts.h"
#include "ui/PageNames.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/PageControl.h"
#include "ui/controls/RadioGroup.h"

namespace {

using namespace editortest;

TEST_F(EditorsTest, EachKeyOfTheBitWidthIsWrittenAtOnceAndARefusedWidthKeepsTheField) {
    connect();
    type(*ui().SSISettings.BitWidth, "33");
    EXPECT_EQ(count("DN"), 1) << "the first key writes 3, the second nothing";
    EXPECT_EQ(word("DA") & 0xFF, 3u);
    EXPECT_EQ(ui().SSISettings.BitWidth->colour(), FieldColour::Highlight);
    EXPECT_TRUE(form->State.ParametersChanged);
    EXPECT_TRUE(harness->dialogs.messages.empty());

    leave(*ui().SSISettings.BitWidth);
    EXPECT_EQ(onlyMessage(), "Please enter a valid bit width (1..32)");
    EXPECT_EQ(harness->dialogs.messages.back().caption, "Parameter out of range");
    EXPECT_EQ(form->State.MissedPolls, 65535u);
}

TEST_F(EditorsTest, SynchronousStartIsRefusedForTheKFamilyOnly) {
    for (const char* model : {"KH", "QH"}) {
        SCOPED_TRACE(model);
        connect(Model(model));
        ui().SSISettings.Mode->setItemIndex(1);
        const bool kFamily = model[0] == 'K';
        EXPECT_EQ(count("DN"), kFamily ? 0 : 1);
        EXPECT_EQ((word("DA") >> 18) & 3, kFamily ? 0u : 2u);
        EXPECT_EQ(ui().SSISettings.Mode->itemIndex(), kFamily ? 0 : 1);
        EXPECT_EQ(harness->dialogs.messages.size(), kFamily ? 1u : 0u);
        if (kFamily) {
            EXPECT_EQ(harness->dialogs.messages[0].text, "At K Series not available!");
        }
        EXPECT_FALSE(form->State.ControlSettings) << "the put-back event is swallowed";
        EXPECT_EQ(form->State.ParametersChanged, !kFamily);
    }
}

TEST_F(EditorsTest, TheErrorAndParityBitKeepsTheTemperatureBitOnlyOn39606) {
    struct Case {
        int firmware;
        uint32_t written;
    };
    for (const Case& c : {Case{3960601, 3}, Case{3960201, 1}}) {
        SCOPED_TRACE(c.firmware);
        connect(Firmware(c.firmware, {{"KA", 0x020000}}));
        ui().Measurement2.Siemens->click();
        EXPECT_EQ(count("KN"), 1);
        EXPECT_EQ((word("KA") >> 16) & 0xFF, c.written);
    }
}

TEST_F(EditorsTest, TheTemperatureBitForcesTwentyFourDataBitsFrom3960607) {
    for (const int firmware : {3960606, 3960607}) {
        SCOPED_TRACE(firmware);
        connect(Firmware(firmware, {{"DA", 25}}));
        auto& bitWidth = *ui().SSISettings.BitWidth;
        ui().Measurement2.Temperature->click();
        EXPECT_EQ((word("KA") >> 16) & 2, 2u);
        const bool forced = firmware == 3960607;
        // The field's new text writes 24 through its live handler, then the editor writes it again.
        EXPECT_EQ(count("DN"), forced ? 2 : 0);
        EXPECT_EQ(word("DA") & 0xFF, forced ? 24u : 25u);
        EXPECT_EQ(bitWidth.isEnabled(), !forced);
        EXPECT_EQ(harness->dialogs.messages.size(), forced ? 1u : 0u);
        if (!forced)
            continue;
        EXPECT_TRUE(onlyMessage().startsWith("Attention: Temperature measurement only possible"));
        ui().Measurement2.Temperature->click();
        EXPECT_TRUE(bitWidth.isEnabled());
        EXPECT_EQ(word("DA") & 0xFF, 24u);
    }
}

TEST_F(EditorsTest, TheJitterWindowIsCheckedOnExitUpToFirmware6250000) {
    for (const int firmware : {6250000, 6250001}) {
        SCOPED_TRACE(firmware);
        connect(Firmware(firmware));
        type(*ui().SSISettings.JitterWindow, "0");
        leave(*ui().SSISettings.JitterWindow);
        EXPECT_EQ(count("MN"), 0);
        EXPECT_EQ(harness->dialogs.messages.size(), firmware == 6250000 ? 1u : 0u);
    }
}

TEST_F(EditorsTest, TheErrorCounterOfAKSensorStaysAtOne) {
    connect(Model("KH"));
    auto& counter = *ui().ErrorIndication.ErrorCount;
    type(counter, "5");
    EXPECT_EQ(onlyMessage(), "At K Series not available!");
    EXPECT_EQ(counter.text(), "1");
    EXPECT_EQ(count("DN"), 0);
    EXPECT_FALSE(form->State.ControlSettings);

    type(counter, "1");
    EXPECT_EQ(count("DN"), 1);
    EXPECT_EQ((word("DA") >> 8) & 0xFF, 1u);
}

TEST_F(EditorsTest, APowerFailTimeOfZeroIsWrittenWithAWarning) {
    connect();
    auto& powerFail = *ui().ErrorIndication.PowerFail;
    powerFail.setText(QStringLiteral("0"));
    EXPECT_EQ(count("RN"), 1);
    EXPECT_EQ(word("RA") & 0xFF, 0u);
    EXPECT_EQ(onlyMessage(), "This will disable the low level voltage detecting!");
    EXPECT_EQ(harness->dialogs.messages.back().caption, "Powerfail");

    leave(powerFail);
    EXPECT_EQ(harness->dialogs.messages.size(), 1u);
}

TEST_F(EditorsTest, TheErrorValueTakes32BitsLiveAndLessOnExit) {
    connect();
    auto& errorValue = *ui().ErrorIndication.ErrorValue;
    errorValue.setText(QStringLiteral("-1"));
    EXPECT_EQ(count("PN"), 1);
    EXPECT_EQ(word("PA"), 0xFFFFFFFFu);
    leave(errorValue);
    EXPECT_TRUE(harness->dialogs.messages.empty());

    form->State.UiLanguage = 1;
    errorValue.setText(QStringLiteral("3000000000"));
    EXPECT_EQ(count("PN"), 1);
    leave(errorValue);
    EXPECT_EQ(onlyMessage(), "Bitte geben Sie einen gültigen Wert ein");
    EXPECT_EQ(harness->dialogs.messages.back().caption, "Falscher Parameter");
}

TEST_F(EditorsTest, TheSecondErrorValueGoesThroughTheRangeRegisterAndRereadsThePoints) {
    connect(WithWords({{"YA00000000", 20000}}));
    ui().ErrorIndication.ErrorValue2->click();
    const auto sent = commands();
    const auto at = [&](const std::string& command) {
        return std::find(sent.begin(), sent.end(), command) - sent.begin();
    };
    ASSERT_LT(at("YN20000000"), static_cast<long>(sent.size()));
    EXPECT_LT(at("YN20000000"), at("YA00000000"));
    EXPECT_LT(at("YA00000000"), at("YA80000000"));
    EXPECT_EQ(form->SensorLink[TSSICom::SecErrorValue].Value, 0) << "read back after the write";
    EXPECT_TRUE(form->State.ParametersChanged);
    EXPECT_EQ(ui().Measurement2.StartPoint->text(), "100.000 mm");
    EXPECT_EQ(ui().Measurement2.EndPoint->text(), "not defined");
    EXPECT_TRUE(harness->dialogs.messages.empty());
}

TEST_F(EditorsTest, AWriteTheSensorRefusesEndsInTheCommunicationError) {
    connect();
    harness->sensor.faults().refusedCommands = {"DN"};
    ui().SSISettings.BitWidth->setText(QStringLiteral("12"));
    EXPECT_EQ(onlyMessage(), "Communication Error");
    EXPECT_FALSE(form->State.SensorOnline);
    EXPECT_FALSE(form->State.ParametersChanged);
    EXPECT_FALSE(ui().SensorInfo.EEPROMUpdateButton->isEnabled());
}

TEST_F(EditorsTest, TheUpdateCommitsByFirmwareThenWakesTheSensorRefreshesAndPollsAgain) {
    struct Case {
        int firmware;
        const char* commit;
    };
    for (const Case& c : {Case{3960100, "EN"}, Case{3960101, "CN"}}) {
        SCOPED_TRACE(c.firmware);
        connect(Firmware(c.firmware));
        ui().SSISettings.BitWidth->setText(QStringLiteral("12"));
        auto& update = *ui().SensorInfo.EEPROMUpdateButton;
        ASSERT_TRUE(update.isEnabled());
        harness->sensor.clearTraffic();
        update.click();

        std::vector<std::string> events;
        for (const auto& entry : harness->sensor.traffic()) {
            if (entry.kind != TrafficEntry::Kind::Reply)
                events.push_back(entry.text);
        }
        ASSERT_GE(events.size(), 4u);
        EXPECT_EQ(events[0], c.commit);
        EXPECT_EQ(events[1], "1") << "the wake-up's RTS pulse";
        EXPECT_EQ(events[2], "0");
        EXPECT_EQ(events[3], "PROG");
        EXPECT_EQ(events.back().rfind("XA", 0), 0u) << "the refresh reads the table last";
        EXPECT_EQ(harness->sensor.bank(sim::SimulatedSensor::Bank::Eeprom).words.at("DA") & 0xFF,
                  12u);
        EXPECT_FALSE(form->State.ParametersChanged);
        EXPECT_FALSE(update.isEnabled());
        EXPECT_NE(ui().SSISettings.BitWidth->colour(), FieldColour::Highlight);
        EXPECT_TRUE(form->Timer1->isActive());
    }
}

TEST_F(EditorsTest, AChangedResolutionAsksToTeachATaughtRangeAgain) {
    struct Case {
        int firmware;
        uint32_t startPoint;
        bool warned;
    };
    for (const Case& c : {Case{3960601, 5000, true}, Case{3960601, 0, false},
                          Case{3960107, 5000, true}, Case{3960105, 5000, false}}) {
        SCOPED_TRACE(c.firmware);
        connect(Firmware(c.firmware, {{"YA00000000", c.startPoint}}));
        form->SensorLink[TSSICom::Resolution].Modified = 1;
        form->State.MarkParametersChanged();
        ui().SensorInfo.EEPROMUpdateButton->click();
        EXPECT_EQ(harness->dialogs.messages.size(), c.warned ? 1u : 0u);
        if (c.warned) {
            EXPECT_EQ(harness->dialogs.messages[0].caption, "Resolution changed!");
            EXPECT_EQ(count("CN"), 1) << "the commit follows the message";
        }
    }
}

// Each field takes what its register's accepted range takes; a value beyond it
// is not written, and leaving the field names the field's own range.
TEST_F(EditorsTest, AValueBeyondTheRegistersRangeIsNotWrittenAndNamesTheFieldsRange) {
    struct Case {
        TSSICom::RegisterIndex reg;
        LabeledEdit* (*edit)(params::PageControls&);
        const char* typed;
        int64_t value;
        const char* message;
    };
    const Case cases[] = {
        {TSSICom::BitWidth, [](params::PageControls& c) { return c.SSISettings.BitWidth; }, "200",
         200, "Please enter a valid bit width (1..32)"},
        {TSSICom::BitWidth, [](params::PageControls& c) { return c.SSISettings.BitWidth; }, "0", 0,
         "Please enter a valid bit width (1..32)"},
        {TSSICom::CycleTime, [](params::PageControls& c) { return c.ExpertSettings.CycleTime; },
         "70000", 70000, "Please enter a valid cycle time"},
        {TSSICom::SyncTiming, [](params::PageControls& c) { return c.ExpertSettings.SyncTiming; },
         "65536", 65536, "Please enter a valid cycle time"},
        {TSSICom::FactoryNumber,
         [](params::PageControls& c) { return c.ExpertSettings.FactoryNumber; }, "123456789", 9,
         "Please enter a valid factory number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_FALSE(rules::RegisterRange(c.reg).contains(c.value))
            << "varnelctl set refuses it too";
        connect();
        LabeledEdit& edit = *c.edit(ui());
        type(edit, c.typed);
        EXPECT_TRUE(harness->dialogs.messages.empty());
        leave(edit);
        EXPECT_EQ(onlyMessage(), c.message);
        EXPECT_TRUE(form->State.SensorOnline);
    }
    connect();
    type(*ui().ExpertSettings.CycleTime, "70000");
    EXPECT_EQ((word("ZA") >> 8) & 0xFFFF, 7000u) << "the last value the register takes stays";
}

// Focus moves from a field of the parameter pages to a widget outside them.
TEST_F(EditorsTest, LeavingTheParameterPagesChecksTheFactoryNumberOnce) {
    for (const bool fromFactoryNumber : {true, false}) {
        SCOPED_TRACE(fromFactoryNumber);
        connect();
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
        form->findChild<PageControl*>(maintexts::kParameterPage)
            ->showPage(pagenames::ExpertSettings);
        auto& factoryNumber = *ui().ExpertSettings.FactoryNumber;
        factoryNumber.setText(QStringLiteral("123456789"));
        harness->dialogs.messages.clear();
        auto& from = fromFactoryNumber ? factoryNumber : *ui().ExpertSettings.MonoflopTime;
        ui().SensorInfo.EEPROMUpdateButton->setEnabled(true);
        from.focusField();
        ASSERT_TRUE(from.field().hasFocus());
        ui().SensorInfo.EEPROMUpdateButton->setFocus();
        EXPECT_EQ(onlyMessage(), "Please enter a valid factory number");
    }
}

}  // namespace
