#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "app/ConnectionMonitor.h"
#include "app/StatusLine.h"
#include "support/FormHarness.h"
#include "support/GuiTestEnvironment.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/PageControl.h"
#include "ui/controls/StatusLamp.h"

namespace {

struct Traced {
    QString line;
    QColor lamp;
};

// The poll of a main window on COM1, wired to the simulated sensor on virtual time.
// Each test drives Timer1's handler directly.
class MonitorTest : public testing::Test {
protected:
    void SetUp() override {
        form = &harness.create();
        form->Trace = [this](const QString& line) {
            traced.push_back({line, form->ui.StatusLED->colour()});
        };
        form->OpenSensorLink(1);
    }

    // One tick; returns its duration in sensor time.
    int64_t tick() {
        const int64_t start = harness.clock.now();
        form->IdleFunction();
        return harness.clock.now() - start;
    }
    std::vector<std::string> commands() const {
        std::vector<std::string> sent;
        for (const auto& entry : harness.sensor.traffic()) {
            if (entry.kind == sim::TrafficEntry::Kind::Command)
                sent.push_back(entry.text);
        }
        return sent;
    }
    long count(const std::string& command) const {
        const auto sentCommands = commands();
        return std::count(sentCommands.begin(), sentCommands.end(), command);
    }
    bool sent(const std::string& prefix) const {
        for (const auto& command : commands()) {
            if (command.rfind(prefix, 0) == 0)
                return true;
        }
        return false;
    }
    void connectSensor() {
        tick();
        ASSERT_TRUE(form->State.SensorOnline);
        traced.clear();
        harness.sensor.clearTraffic();
    }
    void disconnectSensor() { harness.sensor.faults().silent = true; }
    void reconnectSensor() { harness.sensor.faults().silent = false; }
    void answerWarningWith(const char* button) {
        harness.dialogs.dialogScripts.push_back([button](QDialog& dialog) {
            dialog.findChild<QPushButton*>(QString::fromLatin1(button))->click();
            return dialog.result();
        });
    }

    TempHome home;
    FormHarness harness;
    TMainForm* form = nullptr;
    std::vector<Traced> traced;
};

TEST_F(MonitorTest, DetectionReadsTheSetAndShowsTheSensor) {
    EXPECT_EQ(form->ui.StatusLED->colour(), StatusLamp::Red);
    tick();

    ASSERT_EQ(traced.size(), 3u);
    EXPECT_EQ(traced[0].line, "status: SSI-Sensor found on COM-Port 1");
    EXPECT_EQ(traced[0].lamp, StatusLamp::Yellow);
    EXPECT_EQ(traced[1].line, "status: Communication established on COM-Port 1");
    EXPECT_EQ(traced[1].lamp, StatusLamp::Green);
    EXPECT_EQ(traced[2].line, "sensor: 10203040");
    EXPECT_EQ(form->ui.StatusText->text(), "Communication established on COM-Port 1");

    EXPECT_TRUE(sent("VA"));
    EXPECT_TRUE(form->State.SensorOnline);
    EXPECT_EQ(form->State.LastFactoryNumber, "10203040");
    EXPECT_TRUE(form->ui.ParameterPage->isEnabled());
    EXPECT_TRUE(form->ui.RestoreFactorySettings1->isEnabled());
    for (QAction* action :
         {form->ui.FileOpenItem, form->ui.FileSaveAsItem, form->ui.TestSensor, form->ui.Print}) {
        EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString();
    }
    EXPECT_FALSE(form->ui.FirmwareUpdate->isVisible());
    EXPECT_TRUE(form->ui.SelComPort->isHidden());
    EXPECT_EQ(form->Parameters->ui.SensorInfo.InfoLabel1->text(), "Q-Series SSI (QH)");
    EXPECT_EQ(form->Parameters->ui.SensorInfo.InfoLabel2->text(), "500mm");
    EXPECT_EQ(form->Parameters->ui.SensorInfo.InfoLabel3->text(), "10203040");
    EXPECT_EQ(form->Parameters->ui.SensorInfo.InfoLabel6->text(), "396-01-05");
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_EQ(form->Timer1->interval(), ConnectionMonitor::ConnectedIntervalMs);
}

TEST_F(MonitorTest, AConnectedSensorIsPolledWithFactoryNumberAndOperatingTime) {
    connectSensor();
    harness.sensor.setWord("TA", 200000);
    tick();
    EXPECT_EQ(commands(), (std::vector<std::string>{"FA", "TA"}));
    EXPECT_TRUE(traced.empty());
    EXPECT_EQ(form->Parameters->ui.ErrorIndication.OpTimeYears->text(), "1");
    EXPECT_EQ(form->Parameters->ui.ErrorIndication.OpTimeMonth->text(), "1");
    EXPECT_EQ(form->Parameters->ui.ErrorIndication.OpTimeDays->text(), "21");
    EXPECT_EQ(form->Parameters->ui.ErrorIndication.OpTimeHours->text(), "16");
    EXPECT_EQ(form->Parameters->ui.ErrorIndication.OpTimeMinutes->text(), "0");

    harness.sensor.setWord("TA", 172800);
    tick();
    EXPECT_EQ(form->Parameters->ui.ErrorIndication.OpTimeYears->text(), "1");
    EXPECT_EQ(form->Parameters->ui.ErrorIndication.OpTimeMonth->text(), "0");
}

TEST_F(MonitorTest, AMissingSensorIsWokenEvery600msAndWarnedAboutOnce) {
    connectSensor();
    form->State.MarkParametersChanged();
    disconnectSensor();
    answerWarningWith("Abort");

    for (uint32_t missed = 1; missed <= 3; ++missed) {
        const int64_t duration = tick();
        EXPECT_EQ(form->State.MissedPolls, missed);
        EXPECT_EQ(form->ui.StatusText->text(), "COM1: SSI-Sensor not connected...");
        EXPECT_EQ(form->ui.StatusLED->colour(), StatusLamp::Red);
        EXPECT_EQ(form->Timer1->interval(), ConnectionMonitor::SearchingIntervalMs);
        EXPECT_GE(duration, 1300) << "FA attempts and the wake-up sequence";
        EXPECT_TRUE(harness.dialogs.dialogsShown.empty());
    }
    EXPECT_FALSE(form->State.SensorOnline);
    EXPECT_FALSE(form->ui.ParameterPage->isEnabled());
    EXPECT_FALSE(form->ui.FileOpenItem->isEnabled());
    EXPECT_FALSE(form->ui.SelComPort->isHidden());
    EXPECT_EQ(count("PROG"), 3 * 35);

    harness.sensor.clearTraffic();
    tick();
    ASSERT_EQ(harness.dialogs.dialogsShown, (std::vector<QString>{"DisconnectWarningForm"}));
    EXPECT_EQ(traced.back().line, "status: EEPROM-Update: Click Update to save new parameters");
    EXPECT_EQ(form->Timer1->interval(), ConnectionMonitor::ConnectedIntervalMs);
    EXPECT_EQ(count("PROG"), 0);
    EXPECT_TRUE(form->State.ParametersChanged);

    for (int more = 0; more < 6; ++more)
        tick();
    EXPECT_EQ(harness.dialogs.dialogsShown.size(), 1u);

    // Back with the same factory number: the uncommitted set is written to it again.
    reconnectSensor();
    harness.sensor.clearTraffic();
    tick();
    EXPECT_TRUE(form->State.SensorOnline);
    EXPECT_EQ(form->State.MissedPolls, 0u);
    EXPECT_TRUE(sent("AN00000005"));
    EXPECT_FALSE(sent("VA"));
    EXPECT_TRUE(form->State.ParametersChanged);

    // A new disconnection warns again.
    disconnectSensor();
    answerWarningWith("Abort");
    for (int missed = 0; missed < 4; ++missed)
        tick();
    EXPECT_EQ(harness.dialogs.dialogsShown.size(), 2u);
}

TEST_F(MonitorTest, UpdateFromTheWarningDownloadsAndCommitsTheChanges) {
    connectSensor();
    form->State.MarkParametersChanged();
    disconnectSensor();
    for (int missed = 0; missed < 3; ++missed)
        tick();
    harness.dialogs.dialogScripts.push_back([this](QDialog& dialog) {
        auto* update = dialog.findChild<QPushButton*>(QStringLiteral("Update"));
        update->click();
        reconnectSensor();
        update->click();
        return dialog.result();
    });
    tick();

    ASSERT_EQ(harness.dialogs.messages.size(), 1u);
    EXPECT_EQ(harness.dialogs.messages[0].text, "Sensor not connected!\n");
    EXPECT_EQ(harness.dialogs.messages[0].caption, "Error");
    EXPECT_EQ(harness.sensor.commitCount("CN"), 1);
    EXPECT_FALSE(form->State.ParametersChanged);
    EXPECT_EQ(form->ui.StatusLED->colour(), StatusLamp::Green);
    EXPECT_EQ(form->ui.StatusText->text(), "Communication established on COM-Port 1");

    tick();
    EXPECT_TRUE(form->State.SensorOnline);
    EXPECT_EQ(harness.sensor.commitCount("CN"), 1);
}

TEST_F(MonitorTest, ASensorWithAnotherFactoryNumberIsReadAfresh) {
    connectSensor();
    TSSICom& link = form->SensorLink;
    link[TSSICom::FactoryNumber].Reply = "99999999";
    ASSERT_TRUE(link.WriteRegister(TSSICom::FactoryNumber));
    form->State.MarkParametersChanged();
    disconnectSensor();
    tick();
    reconnectSensor();
    harness.sensor.clearTraffic();
    tick();

    EXPECT_TRUE(sent("VA"));
    EXPECT_FALSE(sent("AN"));
    EXPECT_FALSE(form->State.ParametersChanged);
    EXPECT_EQ(form->State.LastFactoryNumber, "99999999");
    EXPECT_EQ(form->Parameters->ui.SensorInfo.InfoLabel3->text(), "99999999");
    EXPECT_EQ(traced.back().line, "sensor: 99999999");
}

TEST_F(MonitorTest, DemoBannerScrollsEveryTickAndBlinksTheLamp) {
    form->OpenSensorLink(TSerialCom::DemoPort);
    form->SensorLink.LoadDemoSet();
    tick();
    const QString banner = QString::fromLatin1(app::DemoBanner);
    EXPECT_EQ(form->ui.StatusText->text(), banner);
    EXPECT_EQ(form->ui.StatusLED->colour(), StatusLamp::Green);
    EXPECT_FALSE(form->ui.SelComPort->isHidden());
    EXPECT_EQ(form->Parameters->ui.SensorInfo.InfoLabel3->text(), "12345678");
    EXPECT_TRUE(harness.sensor.traffic().empty());

    tick();
    EXPECT_EQ(form->ui.StatusText->text(), banner.back() + banner.chopped(1));
    for (int step = 2; step <= 17; ++step)
        tick();
    EXPECT_EQ(form->ui.StatusLED->colour(), StatusLamp::Green);
    tick();
    EXPECT_TRUE(form->ui.StatusText->text().startsWith("DEMO"));
    EXPECT_EQ(form->ui.StatusLED->colour(), StatusLamp::Yellow);
    EXPECT_EQ(form->Timer1->interval(), ConnectionMonitor::ConnectedIntervalMs);
}

TEST_F(MonitorTest, ClosingAsksWhetherToCommitTheChanges) {
    connectSensor();
    form->State.MarkParametersChanged();
    harness.dialogs.answers.push_back(MessageResult::No);
    form->FormClose();
    ASSERT_EQ(harness.dialogs.messages.size(), 1u);
    const Message& question = harness.dialogs.messages[0];
    EXPECT_EQ(question.text,
              "The changed parameters haven't been saved. Should they be saved now?");
    EXPECT_EQ(question.caption, "EEPROM update");
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_TRUE(sent("DN"));
    EXPECT_EQ(harness.sensor.commitCount("CN"), 0);
    EXPECT_TRUE(form->State.ParametersChanged);

    harness.dialogs.answers.push_back(ScriptedDialogs::Escape);
    form->FormClose();
    EXPECT_EQ(harness.sensor.commitCount("CN"), 0);
    EXPECT_TRUE(form->State.ParametersChanged);

    form->State.UiLanguage = 1;
    harness.dialogs.answers.push_back(MessageResult::Yes);
    form->FormClose();
    EXPECT_EQ(harness.dialogs.messages[2].text,
              QStringLiteral("Die geänderten Daten wurden nicht gespeichert. Speichern?"));
    EXPECT_EQ(harness.sensor.commitCount("CN"), 1);
    EXPECT_FALSE(form->State.ParametersChanged);
}

TEST_F(MonitorTest, ClosingTheWindowRunsTheCloseHandling) {
    connectSensor();
    form->show();
    form->State.MarkParametersChanged();
    EXPECT_TRUE(form->close());
    ASSERT_EQ(harness.dialogs.messages.size(), 1u);
    EXPECT_EQ(harness.dialogs.messages[0].caption, "EEPROM update");
    EXPECT_EQ(harness.sensor.commitCount("CN"), 1);
}

TEST_F(MonitorTest, ClosingWithOldFirmwareWritesTheFactorySetWithoutAsking) {
    connectSensor();
    (form->SensorLink)[TSSICom::FirmwareVersion].Value = 3960100;
    form->State.MarkParametersChanged();
    form->FormClose();
    EXPECT_TRUE(harness.dialogs.messages.empty());
    EXPECT_EQ(harness.sensor.commitCount("EN"), 1);
    EXPECT_EQ(harness.sensor.commitCount("CN"), 0);
    EXPECT_FALSE(form->State.ParametersChanged);
}

}  // namespace
