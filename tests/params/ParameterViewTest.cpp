#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "support/FormHarness.h"
#include "support/GuiTestEnvironment.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/Hint.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/PageControl.h"
#include "ui/controls/RadioGroup.h"

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

    TSSICom& link() { return form->SensorLink; }
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
    EXPECT_TRUE(form->Parameters->ui.SSISettings.BitWidth->isEnabled());
    EXPECT_EQ(form->Parameters->ui.SSISettings.BitWidth->text(), "25");

    reg(TSSICom::FirmwareVersion).Value = 3960607;
    refresh();
    ASSERT_EQ(harness.dialogs.messages.size(), 1u);
    EXPECT_EQ(harness.dialogs.messages[0].text,
              "Number of data bits will be automatically\ncorrected to 24 because temperature "
              "bit is set");
    EXPECT_EQ(harness.dialogs.messages[0].caption, "Info");
    EXPECT_EQ(reg(TSSICom::BitWidth).Value, 24);
    EXPECT_EQ(reg(TSSICom::BitWidth).Modified, 1);
    EXPECT_TRUE(form->State.ParametersChanged);
    EXPECT_FALSE(form->Parameters->ui.SSISettings.BitWidth->isEnabled());
    EXPECT_EQ(form->Parameters->ui.SSISettings.BitWidth->text(), "24");
    EXPECT_EQ(form->Parameters->ui.SSISettings.BitWidth->colour(), FieldColour::Highlight);

    // Already 24: no message, still disabled.
    refresh();
    EXPECT_EQ(harness.dialogs.messages.size(), 1u);
    EXPECT_FALSE(form->Parameters->ui.SSISettings.BitWidth->isEnabled());
    EXPECT_FALSE(form->State.ViewRefreshing);
}

TEST_F(RefreshTest, VelocityModeForcesFilterZeroInGerman) {
    form->State.UiLanguage = 1;
    reg(TSSICom::FirmwareVersion).Value = 3960607;
    reg(TSSICom::Mode).Value = 2;
    reg(TSSICom::Filter).Value = 2;
    refresh();
    ASSERT_EQ(harness.dialogs.messages.size(), 1u);
    EXPECT_EQ(harness.dialogs.messages[0].text,
              "Die Filtereinstellung wird\nautomatisch zu 0 korrigiert, da der\n"
              "Geschwindigkeitsmodus aktiv ist");
    EXPECT_EQ(reg(TSSICom::Filter).Value, 0);
    EXPECT_EQ(form->Parameters->ui.Measurement.FilterS->itemIndex(), 0);
    EXPECT_FALSE(form->Parameters->ui.Measurement.FilterS->isEnabled());
    EXPECT_EQ(form->Parameters->ui.Measurement.PosDifVel->itemIndex(), 2);
}

TEST_F(RefreshTest, OffsetFieldIsRawOnlyForOffsetRawFirmware) {
    reg(TSSICom::Offset).Value = 100;
    reg(TSSICom::Resolution).Value = 5;
    reg(TSSICom::Filter).Value = 2;
    reg(TSSICom::FirmwareVersion).Value = 3960405;
    refresh();
    EXPECT_EQ(form->Parameters->ui.Measurement.Offset->text(), "100");
    reg(TSSICom::FirmwareVersion).Value = 3960416;
    refresh();
    EXPECT_EQ(form->Parameters->ui.Measurement.Offset->text(), "125");
}

TEST_F(RefreshTest, CycleTimeLineShowsMinimumSsiPeriodOrCycleTime) {
    reg(TSSICom::Measurement).Value = 2;
    reg(TSSICom::JitterWindow).Value = 50;
    reg(TSSICom::OutputFlags).Value = 1;
    reg(TSSICom::OutputCode).Value = 0;
    reg(TSSICom::PositionCount).Value = 2;
    reg(TSSICom::SyncTiming).Value = 956;
    refresh();
    EXPECT_EQ(form->Parameters->ui.SensorInfo.InfoLabel5->text(), QStringLiteral("334µs"));
    EXPECT_EQ(form->Parameters->ui.SensorInfo.Label5->text(), "Min. SSI period:");
    EXPECT_EQ(form->State.MinPeriodOverhead, 95);
    EXPECT_EQ(form->Parameters->ui.SSISettings.Mode->itemIndex(), 1);

    reg(TSSICom::Measurement).Value = 0;
    reg(TSSICom::CycleTime).Value = 1667;
    form->State.UiLanguage = 1;
    refresh();
    EXPECT_EQ(form->Parameters->ui.SensorInfo.InfoLabel5->text(), QStringLiteral("416µs"));
    EXPECT_EQ(form->Parameters->ui.SensorInfo.Label5->text(), "Zykluszeit:");
    EXPECT_EQ(form->Parameters->ui.SSISettings.Mode->itemIndex(), 0);
}

TEST_F(RefreshTest, ModelCodesPaAndKb) {
    reg(TSSICom::Model).Value = Letters('P', 'A');
    refresh();
    EXPECT_EQ(form->Parameters->ui.ExpertSettings.Model->itemIndex(), 1);
    EXPECT_EQ(form->Parameters->ui.SensorInfo.InfoLabel1->text(), "Q-Series SSI (QP)");
    EXPECT_EQ(form->State.SensorTypeText, "QP");
    EXPECT_FALSE(form->Parameters->KModelChosen());

    reg(TSSICom::Model).Value = Letters('K', 'B');
    reg(TSSICom::Chargepump).Value = 128;
    refresh();
    EXPECT_EQ(form->Parameters->ui.SensorInfo.InfoLabel1->text(), "K-Series SSI (KBF)");
    EXPECT_EQ(form->State.SensorTypeText, "KBF");
    EXPECT_EQ(form->Parameters->ui.ExpertSettings.ChargepumpStages->count(), 8);
    EXPECT_EQ(form->Parameters->ui.ExpertSettings.ChargepumpStages->itemIndex(), 1);
    EXPECT_TRUE(form->Parameters->ui.ExpertSettings.Model->isHidden());
    EXPECT_TRUE(form->Parameters->ui.ExpertSettings.Q_SERIE->isHidden());

    reg(TSSICom::Chargepump).Value = 100;
    refresh();
    EXPECT_EQ(form->Parameters->ui.ExpertSettings.ChargepumpStages->itemIndex(), -1);
}

TEST_F(RefreshTest, ChargepumpOfThreeStagesAndTheKFamilyJitterWindow) {
    reg(TSSICom::Chargepump).Value = 1;
    refresh();
    EXPECT_EQ(form->Parameters->ui.ExpertSettings.ChargepumpStages->count(), 3);
    EXPECT_EQ(form->Parameters->ui.ExpertSettings.ChargepumpStages->itemIndex(), 1);
    EXPECT_FALSE(form->Parameters->ui.SSISettings.JitterWindow->isReadOnly());
    reg(TSSICom::Chargepump).Value = 3;
    reg(TSSICom::Model).Value = Letters('K', 'P');
    refresh();
    EXPECT_EQ(form->Parameters->ui.ExpertSettings.ChargepumpStages->itemIndex(), -1);
    EXPECT_TRUE(form->Parameters->KModelChosen());
    EXPECT_TRUE(form->Parameters->ui.SSISettings.JitterWindow->isReadOnly());
    EXPECT_EQ(form->Parameters->ui.SSISettings.JitterWindow->colour(), FieldColour::ButtonFace);
}

TEST_F(RefreshTest, ScaleAboveLimitShowsHalfMicrometreAndFirmwareText) {
    reg(TSSICom::Scale).Value = 2031617;
    refresh();
    EXPECT_EQ(form->Parameters->ui.Measurement.Resolution->text(), "0.5");
    EXPECT_EQ(form->Parameters->ui.ExpertSettings.Scale->text(), "2031617");
    EXPECT_EQ(form->Parameters->ui.SensorInfo.InfoLabel6->text(), "396-01-04");
    EXPECT_EQ(form->Parameters->ui.SensorInfo.InfoLabel2->text(), "500mm");
    EXPECT_EQ(form->Parameters->ui.SensorInfo.InfoLabel3->text(), "12345678");
    EXPECT_EQ(form->Parameters->ui.SensorInfo.InfoLabel4->text(), "277695 cm/s");

    reg(TSSICom::Scale).Value = 2031616;
    refresh();
    EXPECT_EQ(form->Parameters->ui.Measurement.Resolution->text(), "5");
}

TEST_F(RefreshTest, UnansweredRegistersDisableTheirControls) {
    reg(TSSICom::ErrorValue).Answered = 0;
    reg(TSSICom::Direction).Answered = 0;
    reg(TSSICom::Measurement).Answered = 0;
    reg(TSSICom::Blanking).Answered = 1;
    reg(TSSICom::FirmwareVersion).Value = 3960609;
    refresh();
    EXPECT_FALSE(form->Parameters->ui.ErrorIndication.ErrorValue->isEnabled());
    EXPECT_FALSE(form->Parameters->ui.Measurement.Direction->isEnabled());
    EXPECT_FALSE(form->Parameters->ui.SSISettings.Mode->isEnabled());
    EXPECT_TRUE(form->Parameters->ui.ErrorIndication.ErrorCount->isEnabled());
    EXPECT_FALSE(form->Parameters->ui.ExpertSettings.Blanking->isEnabled());
    reg(TSSICom::FirmwareVersion).Value = 3960610;
    reg(TSSICom::Blanking).Modified = 1;
    refresh();
    EXPECT_TRUE(form->Parameters->ui.ExpertSettings.Blanking->isEnabled());
    EXPECT_EQ(form->Parameters->ui.ExpertSettings.Blanking->colour(), FieldColour::Highlight);
}

TEST_F(RefreshTest, RangePointsInMillimetres) {
    refresh();
    EXPECT_EQ(form->Parameters->ui.Measurement2.StartPoint->text(), "not defined");
    EXPECT_EQ(form->Parameters->ui.Measurement2.EndPoint->text(), "not defined");
    EXPECT_TRUE(form->Parameters->ui.Measurement2.SetStartPoint->isEnabled());

    reg(TSSICom::StartPoint).Value = 20000;
    reg(TSSICom::EndPoint).Value = 10;
    refresh();
    EXPECT_EQ(form->Parameters->ui.Measurement2.StartPoint->text(), "100.000 mm");
    EXPECT_EQ(form->Parameters->ui.Measurement2.EndPoint->text(), "0.050 mm");

    reg(TSSICom::EndPoint).Answered = 0;
    refresh();
    EXPECT_FALSE(form->Parameters->ui.Measurement2.EndPoint->isEnabled());
    EXPECT_FALSE(form->Parameters->ui.Measurement2.SetEndPoint->isEnabled());
    EXPECT_FALSE(form->Parameters->ui.Measurement2.DelEndPoint->isEnabled());
}

TEST_F(RefreshTest, LinearizationFactorChoosesTheWordingOfTheBox) {
    reg(TSSICom::LinTableByte).Value = 5;
    refresh();
    EXPECT_EQ(form->Linearization->ui.AdresLabel->text(), "200");
    EXPECT_EQ(form->Linearization->ui.FactorLabel->text(), "5");
    EXPECT_EQ(form->Parameters->ui.Measurement2.Linearisierung->text(), "internal linearization");
    EXPECT_FALSE(form->State.LinTableCached);

    reg(TSSICom::LinTableByte).Value = 0xF6;
    refresh();
    EXPECT_EQ(form->Linearization->ui.ValueLabel->text(), "-10");
    EXPECT_EQ(form->Parameters->ui.Measurement2.Linearisierung->text(), "exclude reflection");
    EXPECT_TRUE(hintOf(*form->Parameters->ui.Measurement2.Linearisierung)
                    .startsWith("For exclude the reflection"));

    reg(TSSICom::LinTableByte).Answered = 0;
    refresh();
    EXPECT_FALSE(form->Linearization->ui.AdresLabel->isEnabled());
    EXPECT_TRUE(form->Linearization->ui.AdresLabel->text().isEmpty());
    // Without a table the box keeps its wording, also through a switch of the language.
    EXPECT_EQ(form->Parameters->ui.Measurement2.Linearisierung->text(), "exclude reflection");
    form->State.UiLanguage = 1;
    form->ApplyLanguage();
    EXPECT_EQ(form->Parameters->ui.Measurement2.Linearisierung->text(), "Reflexion ausschließen");
}

TEST_F(RefreshTest, FailedWriteEndsInTheCommunicationError) {
    form->State.MarkParametersChanged();
    form->State.SensorOnline = true;
    form->State.WriteOutcome(false);
    ASSERT_EQ(harness.dialogs.messages.size(), 1u);
    EXPECT_EQ(harness.dialogs.messages[0].text, "Communication Error");
    EXPECT_EQ(harness.dialogs.messages[0].caption, "Error");
    EXPECT_FALSE(form->State.ParametersChanged);
    EXPECT_FALSE(form->Parameters->ui.SensorInfo.EEPROMUpdateButton->isEnabled());
    EXPECT_FALSE(form->State.SensorOnline);

    form->State.WriteOutcome(true);
    EXPECT_TRUE(form->State.ParametersChanged);
    EXPECT_EQ(harness.dialogs.messages.size(), 1u);
}

}  // namespace
