#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "app/controls/CheckBox.h"
#include "app/controls/Hint.h"
#include "app/controls/LabeledEdit.h"
#include "app/controls/PageControl.h"
#include "app/controls/RadioGroup.h"
#include "support/FormHarness.h"
#include "support/GuiTestEnvironment.h"

namespace {

constexpr int32_t Letters(char a, char b) {
    return a * 256 + b;
}

// The refresh on the demo port: every register has answered and holds the demo
// set unless a test says otherwise; register writes succeed without traffic.
class RefreshTest : public testing::Test {
protected:
    void SetUp() override {
        form = &harness.create();
        form->ApplyLanguage();
        form->ui.ParameterPage->setEnabled(true);
        form->OpenSensorLink(TSerialCom::DemoPort);
        link().LoadDemoSet();
        for (auto& reg : link().Parameters().ParameterStruct)
            reg.Answered = 1;
    }

    TSSICom& link() { return *form->SensorLink; }
    TSSICom::DataElement& reg(TSSICom::RegisterIndex r) { return link()[r]; }
    void refresh() { form->RefreshParameterView(); }

    TempHome home;
    FormHarness harness;
    TMainForm* form = nullptr;
};

TEST_F(RefreshTest, TemperatureBitForcesTwentyFourDataBitsFromFirmware3960607) {
    reg(TSSICom::OutputFlags).Value = 2;
    reg(TSSICom::BitWidth).Value = 25;
    reg(TSSICom::FirmwareVersion).Value = 3960606;
    refresh();
    EXPECT_TRUE(harness.dialogs.messages.empty());
    EXPECT_TRUE(form->ui.BitWidth->isEnabled());
    EXPECT_EQ(form->ui.BitWidth->text(), "25");

    reg(TSSICom::FirmwareVersion).Value = 3960607;
    refresh();
    ASSERT_EQ(harness.dialogs.messages.size(), 1u);
    EXPECT_EQ(harness.dialogs.messages[0].text,
              "Number of data bits will be automatically\ncorrected to 24 because temperature "
              "bit is set");
    EXPECT_EQ(harness.dialogs.messages[0].caption, "Info");
    EXPECT_EQ(reg(TSSICom::BitWidth).Value, 24);
    EXPECT_EQ(reg(TSSICom::BitWidth).Modified, 1);
    EXPECT_TRUE(form->ParametersChanged);
    EXPECT_FALSE(form->ui.BitWidth->isEnabled());
    EXPECT_EQ(form->ui.BitWidth->text(), "24");
    EXPECT_EQ(form->ui.BitWidth->colour(), FieldColour::Highlight);

    // Already 24: no message, still disabled.
    refresh();
    EXPECT_EQ(harness.dialogs.messages.size(), 1u);
    EXPECT_FALSE(form->ui.BitWidth->isEnabled());
    EXPECT_FALSE(form->ViewRefreshing);
}

TEST_F(RefreshTest, VelocityModeForcesFilterZeroInGerman) {
    form->UiLanguage = 1;
    reg(TSSICom::FirmwareVersion).Value = 3960607;
    reg(TSSICom::Mode).Value = 2;
    reg(TSSICom::Filter).Value = 2;
    refresh();
    ASSERT_EQ(harness.dialogs.messages.size(), 1u);
    EXPECT_EQ(harness.dialogs.messages[0].text,
              "Die Filtereinstellung wird\nautomatisch zu 0 korrigiert, da der\n"
              "Geschwindigkeitsmodus aktiv ist");
    EXPECT_EQ(reg(TSSICom::Filter).Value, 0);
    EXPECT_EQ(form->ui.FilterS->itemIndex(), 0);
    EXPECT_FALSE(form->ui.FilterS->isEnabled());
    EXPECT_EQ(form->ui.PosDifVel->itemIndex(), 2);
}

TEST_F(RefreshTest, OffsetFieldIsRawOnlyForOffsetRawFirmware) {
    reg(TSSICom::Offset).Value = 100;
    reg(TSSICom::Resolution).Value = 5;
    reg(TSSICom::Filter).Value = 2;
    reg(TSSICom::FirmwareVersion).Value = 3960405;
    refresh();
    EXPECT_EQ(form->ui.Offset->text(), "100");
    reg(TSSICom::FirmwareVersion).Value = 3960416;
    refresh();
    EXPECT_EQ(form->ui.Offset->text(), "125");
}

TEST_F(RefreshTest, CycleTimeLineShowsMinimumSsiPeriodOrCycleTime) {
    reg(TSSICom::Measurement).Value = 2;
    reg(TSSICom::JitterWindow).Value = 50;
    reg(TSSICom::OutputFlags).Value = 1;
    reg(TSSICom::OutputCode).Value = 0;
    reg(TSSICom::PositionCount).Value = 2;
    reg(TSSICom::SyncTiming).Value = 956;
    refresh();
    EXPECT_EQ(form->ui.InfoLabel5->text(), QStringLiteral("334µs"));
    EXPECT_EQ(form->ui.Label5->text(), "Min. SSI period:");
    EXPECT_EQ(form->MinPeriodOverhead, 95);
    EXPECT_EQ(form->ui.Mode->itemIndex(), 1);

    reg(TSSICom::Measurement).Value = 0;
    reg(TSSICom::CycleTime).Value = 1667;
    form->UiLanguage = 1;
    refresh();
    EXPECT_EQ(form->ui.InfoLabel5->text(), QStringLiteral("416µs"));
    EXPECT_EQ(form->ui.Label5->text(), "Zykluszeit:");
    EXPECT_EQ(form->ui.Mode->itemIndex(), 0);
}

TEST_F(RefreshTest, ModelCodesPaAndKb) {
    reg(TSSICom::Model).Value = Letters('P', 'A');
    refresh();
    EXPECT_EQ(form->ui.Model->itemIndex(), 1);
    EXPECT_EQ(form->ui.InfoLabel1->text(), "Q-Series SSI (QP)");
    EXPECT_EQ(form->SensorTypeText, "QP");
    EXPECT_FALSE(form->KModelChosen());

    reg(TSSICom::Model).Value = Letters('K', 'B');
    reg(TSSICom::Chargepump).Value = 128;
    refresh();
    EXPECT_EQ(form->ui.InfoLabel1->text(), "K-Series SSI (KBF)");
    EXPECT_EQ(form->SensorTypeText, "KBF");
    EXPECT_EQ(form->ui.ChargepumpStages->count(), 8);
    EXPECT_EQ(form->ui.ChargepumpStages->itemIndex(), 1);
    EXPECT_TRUE(form->ui.Model->isHidden());
    EXPECT_TRUE(form->ui.Q_SERIE->isHidden());

    reg(TSSICom::Chargepump).Value = 100;
    refresh();
    EXPECT_EQ(form->ui.ChargepumpStages->itemIndex(), -1);
}

TEST_F(RefreshTest, ChargepumpOfThreeStagesAndTheKFamilyJitterWindow) {
    reg(TSSICom::Chargepump).Value = 1;
    refresh();
    EXPECT_EQ(form->ui.ChargepumpStages->count(), 3);
    EXPECT_EQ(form->ui.ChargepumpStages->itemIndex(), 1);
    EXPECT_FALSE(form->ui.JitterWindow->isReadOnly());
    reg(TSSICom::Chargepump).Value = 3;
    reg(TSSICom::Model).Value = Letters('K', 'P');
    refresh();
    EXPECT_EQ(form->ui.ChargepumpStages->itemIndex(), -1);
    EXPECT_TRUE(form->KModelChosen());
    EXPECT_TRUE(form->ui.JitterWindow->isReadOnly());
    EXPECT_EQ(form->ui.JitterWindow->colour(), FieldColour::ButtonFace);
}

TEST_F(RefreshTest, ScaleAboveLimitShowsHalfMicrometreAndFirmwareText) {
    reg(TSSICom::Scale).Value = 2031617;
    refresh();
    EXPECT_EQ(form->ui.Resolution->text(), "0.5");
    EXPECT_EQ(form->ui.Scale->text(), "2031617");
    EXPECT_EQ(form->ui.InfoLabel6->text(), "396-01-04");
    EXPECT_EQ(form->ui.InfoLabel2->text(), "500mm");
    EXPECT_EQ(form->ui.InfoLabel3->text(), "12345678");
    EXPECT_EQ(form->ui.InfoLabel4->text(), "277695 cm/s");

    reg(TSSICom::Scale).Value = 2031616;
    refresh();
    EXPECT_EQ(form->ui.Resolution->text(), "5");
}

TEST_F(RefreshTest, UnansweredRegistersDisableTheirControls) {
    reg(TSSICom::ErrorValue).Answered = 0;
    reg(TSSICom::Direction).Answered = 0;
    reg(TSSICom::Measurement).Answered = 0;
    reg(TSSICom::Blanking).Answered = 1;
    reg(TSSICom::FirmwareVersion).Value = 3960609;
    refresh();
    EXPECT_FALSE(form->ui.ErrorValue->isEnabled());
    EXPECT_FALSE(form->ui.Direction->isEnabled());
    EXPECT_FALSE(form->ui.Mode->isEnabled());
    EXPECT_TRUE(form->ui.ErrorCount->isEnabled());
    EXPECT_FALSE(form->ui.Blanking->isEnabled());
    reg(TSSICom::FirmwareVersion).Value = 3960610;
    refresh();
    EXPECT_TRUE(form->ui.Blanking->isEnabled());
}

TEST_F(RefreshTest, RangePointsInMillimetres) {
    refresh();
    EXPECT_EQ(form->ui.StartPoint->text(), "not defined");
    EXPECT_EQ(form->ui.EndPoint->text(), "not defined");
    EXPECT_TRUE(form->ui.SetStartPoint->isEnabled());

    reg(TSSICom::StartPoint).Value = 20000;
    reg(TSSICom::EndPoint).Value = 10;
    refresh();
    EXPECT_EQ(form->ui.StartPoint->text(), "100.000 mm");
    EXPECT_EQ(form->ui.EndPoint->text(), "0.050 mm");

    reg(TSSICom::EndPoint).Answered = 0;
    refresh();
    EXPECT_FALSE(form->ui.EndPoint->isEnabled());
    EXPECT_FALSE(form->ui.SetEndPoint->isEnabled());
    EXPECT_FALSE(form->ui.DelEndPoint->isEnabled());
}

TEST_F(RefreshTest, LinearizationFactorChoosesTheWordingOfTheBox) {
    reg(TSSICom::LinTableByte).Value = 5;
    refresh();
    EXPECT_EQ(form->ui.AdresLabel->text(), "200");
    EXPECT_EQ(form->ui.FactorLabel->text(), "5");
    EXPECT_EQ(form->ui.Linearisierung->text(), "internal linearization");
    EXPECT_FALSE(form->LinTableCached);

    reg(TSSICom::LinTableByte).Value = 0xF6;
    refresh();
    EXPECT_EQ(form->ui.ValueLabel->text(), "-10");
    EXPECT_EQ(form->ui.Linearisierung->text(), "exclude reflection");
    EXPECT_TRUE(hintOf(*form->ui.Linearisierung).startsWith("For exclude the reflection"));

    reg(TSSICom::LinTableByte).Answered = 0;
    refresh();
    EXPECT_FALSE(form->ui.AdresLabel->isEnabled());
    EXPECT_TRUE(form->ui.AdresLabel->text().isEmpty());
    // Without a table the refresh leaves the wording to the language's texts.
    EXPECT_EQ(form->ui.Linearisierung->text(), "internal linearization");
}

TEST_F(RefreshTest, FailedWriteEndsInTheCommunicationError) {
    form->MarkParametersChanged();
    form->SensorOnline = true;
    form->WriteOutcome(false);
    ASSERT_EQ(harness.dialogs.messages.size(), 1u);
    EXPECT_EQ(harness.dialogs.messages[0].text, "Communication Error");
    EXPECT_EQ(harness.dialogs.messages[0].caption, "Error");
    EXPECT_FALSE(form->ParametersChanged);
    EXPECT_FALSE(form->ui.EEPROMUpdateButton->isEnabled());
    EXPECT_FALSE(form->SensorOnline);

    form->WriteOutcome(true);
    EXPECT_TRUE(form->ParametersChanged);
    EXPECT_EQ(harness.dialogs.messages.size(), 1u);
}

}  // namespace
