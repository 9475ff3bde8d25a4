#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>

#include "app/ConnectionMonitor.h"
#include "app/PortStartup.h"
#include "support/FormHarness.h"
#include "support/GuiTestEnvironment.h"
#include "ui/controls/PageControl.h"
#include "ui/controls/StatusLamp.h"

namespace {

using platform::PortEvent;

constexpr char kStableName[] = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";

PortEvent Removed(const char* path, const char* stableName = kStableName) {
    return {PortEvent::Kind::Removed, path, stableName};
}
PortEvent Added(const char* path, const char* stableName = kStableName) {
    return {PortEvent::Kind::Added, path, stableName};
}

// A main window on COM1 with the sensor found; the test plays the system's
// announcements of devices that come and go, and drives Timer1's handler.
class HotPlugTest : public testing::Test {
protected:
    void SetUp() override {
        form = &harness.create();
        form->Trace = [this](const QString& line) { traced.push_back(line); };
        form->OpenSensorLink(1);
        form->IdleFunction();
        ASSERT_TRUE(form->State.SensorOnline);
        traced.clear();
        harness.sensor.clearTraffic();
    }
    void unplug() {
        harness.serial.unplug();
        form->PortEvent(Removed("/dev/ttyUSB0"));
    }
    size_t commandsReceived() const {
        size_t n = 0;
        for (const auto& entry : harness.sensor.traffic())
            n += entry.kind == sim::TrafficEntry::Kind::Command ? 1 : 0;
        return n;
    }

    TempHome home;
    FormHarness harness;
    TMainForm* form = nullptr;
    std::vector<QString> traced;
};

TEST_F(HotPlugTest, TheOpenAdapterGoingAwayIsShownAtOnceAndItsPortClosed) {
    unplug();
    EXPECT_EQ(traced, (std::vector<QString>{"status: COM1: SSI-Sensor not connected..."}));
    EXPECT_EQ(form->ui.StatusLED->colour(), StatusLamp::Red);
    EXPECT_FALSE(form->SensorLink.IsOpen());
    EXPECT_FALSE(form->State.SensorOnline);
    EXPECT_FALSE(form->ui.ParameterPage->isEnabled());

    // The polls leave the closed port alone: no request fails, none reaches the wire.
    const int failedBefore = harness.serial.failedRequests;
    for (int poll = 0; poll < 6; ++poll)
        form->IdleFunction();
    EXPECT_EQ(harness.serial.failedRequests, failedBefore);
    EXPECT_EQ(commandsReceived(), 0u);
    EXPECT_FALSE(form->SensorLink.IsOpen());
    EXPECT_EQ(form->State.MissedPolls, 6u);
    EXPECT_EQ(form->Timer1->interval(), ConnectionMonitor::SearchingIntervalMs);
    EXPECT_EQ(form->ui.StatusText->text(), "COM1: SSI-Sensor not connected...");
}

TEST_F(HotPlugTest, TheSameAdapterComingBackIsOpenedAgainAndTheSensorFound) {
    unplug();
    form->IdleFunction();
    harness.serial.plugIn();
    // Another adapter coming is not ours.
    form->PortEvent(Added("/dev/ttyUSB1", "/dev/serial/by-id/usb-Prolific-if00-port0"));
    EXPECT_FALSE(form->SensorLink.IsOpen());

    form->PortEvent(Added("/dev/ttyUSB0"));
    EXPECT_TRUE(form->SensorLink.IsOpen());
    EXPECT_EQ(harness.serial.baudRate(), 4800);
    traced.clear();
    form->IdleFunction();
    EXPECT_TRUE(form->State.SensorOnline);
    EXPECT_EQ(form->State.MissedPolls, 0u);
    EXPECT_EQ(traced, (std::vector<QString>{"status: SSI-Sensor found on COM-Port 1",
                                            "status: Communication established on COM-Port 1",
                                            "sensor: 10203040"}));
    EXPECT_EQ(form->ui.StatusLED->colour(), StatusLamp::Green);
}

TEST_F(HotPlugTest, BackUnderAnotherDeviceNameItIsFoundByItsStableName) {
    unplug();
    // It comes back as ttyUSB1; the stable name leads there.
    harness.serial.plugIn();
    harness.devices.links[kStableName] = "/dev/ttyUSB0";
    form->PortEvent(Added("/dev/ttyUSB1"));
    EXPECT_EQ(form->ports().devicePath(1), kStableName);
    EXPECT_TRUE(form->SensorLink.IsOpen());
    form->IdleFunction();
    EXPECT_TRUE(form->State.SensorOnline);
}

TEST_F(HotPlugTest, AnAdapterWithoutAStableNameComesBackUnderItsDeviceName) {
    harness.serial.unplug();
    form->PortEvent(Removed("/dev/ttyUSB0", ""));
    harness.serial.plugIn();
    form->PortEvent(Added("/dev/ttyUSB1", ""));
    EXPECT_FALSE(form->SensorLink.IsOpen());
    form->PortEvent(Added("/dev/ttyUSB0", ""));
    EXPECT_TRUE(form->SensorLink.IsOpen());
}

TEST_F(HotPlugTest, OtherDevicesGoingAwayChangeNothing) {
    form->PortEvent(Removed("/dev/ttyUSB3", "/dev/serial/by-id/usb-other"));
    form->PortEvent(Removed("/dev/ttyACM0", ""));
    EXPECT_TRUE(form->SensorLink.IsOpen());
    EXPECT_TRUE(traced.empty());
    form->IdleFunction();
    EXPECT_TRUE(form->State.SensorOnline);
}

TEST_F(HotPlugTest, UncommittedChangesStillGetTheDisconnectWarning) {
    form->State.MarkParametersChanged();
    unplug();
    harness.dialogs.dialogScripts.push_back([](QDialog& dialog) {
        dialog.findChild<QPushButton*>(QStringLiteral("Abort"))->click();
        return dialog.result();
    });
    for (uint32_t poll = 1; poll < ConnectionMonitor::WarningAtMissedPoll; ++poll)
        form->IdleFunction();
    EXPECT_TRUE(harness.dialogs.dialogsShown.empty());
    form->IdleFunction();
    EXPECT_EQ(harness.dialogs.dialogsShown, (std::vector<QString>{"DisconnectWarningForm"}));
    EXPECT_EQ(traced.back(), "status: EEPROM-Update: Click Update to save new parameters");
    EXPECT_TRUE(form->State.ParametersChanged);

    // Back again: the uncommitted set is written to the sensor as after any disconnection.
    harness.serial.plugIn();
    form->PortEvent(Added("/dev/ttyUSB0"));
    form->IdleFunction();
    EXPECT_TRUE(form->State.SensorOnline);
    bool rewritten = false;
    for (const auto& entry : harness.sensor.traffic())
        rewritten = rewritten || entry.text.rfind("AN", 0) == 0;
    EXPECT_TRUE(rewritten);
}

TEST_F(HotPlugTest, TheOpenPortDialogListsTheDevicesAsTheyCome) {
    std::vector<QString> before;
    std::vector<QString> after;
    const auto listed = [](QDialog& dialog) {
        std::vector<QString> texts;
        auto& list = *dialog.findChild<QListWidget*>(QStringLiteral("ComListe"));
        for (int row = 0; row < list.count(); ++row)
            texts.push_back(list.item(row)->text());
        return texts;
    };
    harness.dialogs.dialogScripts.push_back([&](QDialog& dialog) {
        before = listed(dialog);
        harness.probe.present.insert("/dev/ttyUSB1");
        form->PortEvent(Added("/dev/ttyUSB1", ""));
        after = listed(dialog);
        return 0;
    });
    form->SelComPortClick();
    EXPECT_EQ(before, (std::vector<QString>{"Demo", "COM 1"}));
    EXPECT_EQ(after, (std::vector<QString>{"Demo", "COM 1", "COM 2"}));
    // Closing the dialog opened the port again.
    EXPECT_TRUE(form->SensorLink.IsOpen());
}

// The window reads udev's socket when it has something; it polls no device itself.
TEST(HotPlugWiring, TheWindowWatchesTheMonitorsSocket) {
    platform::PortMonitor monitor;
    if (!monitor.valid())
        GTEST_SKIP() << "udev's netlink socket is not available here";
    TempHome home;
    FormHarness harness;
    harness.portMonitor = &monitor;
    TMainForm& form = harness.create();
    const auto notifiers = form.findChildren<QSocketNotifier*>();
    ASSERT_EQ(notifiers.size(), 1);
    EXPECT_EQ(notifiers[0]->socket(), monitor.fd());
    EXPECT_EQ(notifiers[0]->type(), QSocketNotifier::Read);
    EXPECT_TRUE(notifiers[0]->isEnabled());

    FormHarness without;
    EXPECT_TRUE(without.create().findChildren<QSocketNotifier*>().isEmpty());
}

}  // namespace
