#include <gtest/gtest.h>

#include "ProbeOnlyBackend.h"
#include "app/PortList.h"
#include "app/StatusLine.h"
#include "comm/OperatingTime.h"
#include "platform/Clock.h"
#include "ui/controls/StatusLamp.h"

namespace {

using app::NextStatus;
using app::Status;
using app::StatusShown;

TEST(OperatingTimeDisplay, SplitsIntoYearsOfAYearAndMonthsOfThirtyDays) {
    EXPECT_EQ(rules::SplitOperatingTime(200000), (rules::OperatingTime{1, 1, 21, 16, 0}));
    // 518400 minutes: 360 days are 12 months, shown as the next year.
    EXPECT_EQ(rules::SplitOperatingTime(172800), (rules::OperatingTime{1, 0, 0, 0, 0}));
    EXPECT_EQ(rules::SplitOperatingTime(0), (rules::OperatingTime{0, 0, 0, 0, 0}));
    EXPECT_EQ(rules::SplitOperatingTime(21), (rules::OperatingTime{0, 0, 0, 1, 3}));
    // The minutes are counted in 32 bits: 0x60000000 * 3 wraps to 0x20000000.
    EXPECT_EQ(rules::SplitOperatingTime(0x60000000u), (rules::OperatingTime{1021, 5, 12, 0, 32}));
}

TEST(StatusTexts, CodesOneToFourInBothLanguages) {
    const StatusShown before{QStringLiteral("x"), StatusLamp::Red};
    const struct {
        Status code;
        QString argument;
        QString english;
        QString german;
    } rows[] = {
        {Status::Found, "7", "SSI-Sensor found on COM-Port 7", "SSI-Sensor gefunden an COM-Port 7"},
        {Status::Established, "7", "Communication established on COM-Port 7",
         "Verbindung hergestellt an COM-Port 7"},
        {Status::UpdatePending, "", "EEPROM-Update: Click Update to save new parameters",
         QStringLiteral("EEPROM-Update: Wählen Sie \"Update\" um Parameter zu speichern")},
        {Status::NotConnected, "12", "COM12: SSI-Sensor not connected...",
         "COM12: SSI-Sensor nicht gefunden..."},
        {Status::ModemLinesSkipped, "rfc2217://pi:4001",
         "rfc2217://pi:4001 does not switch modem lines (RTS); the requests are skipped",
         "rfc2217://pi:4001 schaltet keine Modemleitungen (RTS); die Anforderungen entfallen"},
        {Status::HistoryMissed, "database is locked",
         "The history could not record the last operation: database is locked. It will be "
         "written with the next one.",
         QStringLiteral("Die Historie konnte den letzten Vorgang nicht speichern: database is "
                        "locked. Er wird mit dem nächsten geschrieben.")},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(NextStatus(row.code, row.argument, 0, before).text, row.english);
        EXPECT_EQ(NextStatus(row.code, row.argument, 1, before).text, row.german);
        EXPECT_EQ(NextStatus(row.code, row.argument, 2, before).text, "x");
        EXPECT_EQ(NextStatus(row.code, row.argument, 0, before).lamp, StatusLamp::Red);
    }
}

TEST(StatusTexts, DemoBannerScrollsAndBlinksOnD) {
    const QString banner = QString::fromLatin1(app::DemoBanner);
    EXPECT_EQ(banner,
              "DEMO" + QString(14, ' ') + "DEMO" + QString(14, ' ') + "DEMO" + QString(14, ' '));
    StatusShown shown = NextStatus(Status::Demo, QString(), 0, {"old", StatusLamp::Green});
    EXPECT_EQ(shown.text, banner);
    EXPECT_EQ(shown.lamp, StatusLamp::Green);

    // Fourteen blanks move to the front without touching the lamp, then "O", "M", "E", "D".
    for (int step = 0; step < 17; ++step) {
        shown = NextStatus(Status::Demo, QStringLiteral("1"), 7, shown);
        EXPECT_EQ(shown.lamp, StatusLamp::Green) << step;
    }
    shown = NextStatus(Status::Demo, QStringLiteral("1"), 0, shown);
    EXPECT_TRUE(shown.text.startsWith(QStringLiteral("DEMO ")));
    EXPECT_EQ(shown.lamp, StatusLamp::Yellow);
    for (int step = 0; step < 18; ++step)
        shown = NextStatus(Status::Demo, "1", 0, shown);
    EXPECT_EQ(shown.lamp, StatusLamp::Green);
    EXPECT_EQ(shown.text.size(), banner.size());

    // Any colour other than yellow becomes yellow.
    shown = NextStatus(Status::Demo, "1", 0, {QStringLiteral("xD"), StatusLamp::Red});
    EXPECT_EQ(shown.text, "Dx");
    EXPECT_EQ(shown.lamp, StatusLamp::Yellow);
}

TEST(PortList, DemoThenEveryPortThatProbes) {
    ProbeOnlyBackend backend;
    platform::VirtualClock clock;
    const platform::ComPortMap ports({{12, "/dev/pts/sim"}});
    backend.present = {"/dev/ttyUSB0", "/dev/ttyUSB2", "/dev/pts/sim"};
    TSerialCom prober(backend, clock, ports);

    const auto scan = app::AvailablePorts(prober, ports);
    ASSERT_EQ(scan.entries.size(), 4u);
    EXPECT_EQ(app::EntryText(scan.entries[0]), "Demo");
    EXPECT_EQ(app::EntryText(scan.entries[1]), "COM 1");
    EXPECT_EQ(scan.entries[1].devicePath, "/dev/ttyUSB0");
    EXPECT_EQ(app::EntryText(scan.entries[2]), "COM 3");
    EXPECT_EQ(app::EntryText(scan.entries[3]), "COM 12");
    EXPECT_EQ(scan.entries[3].devicePath, "/dev/pts/sim");
    EXPECT_TRUE(scan.denied.empty());
    EXPECT_EQ(backend.probed.size(), 64u);  // ports 65 to 100 map to no device
}

TEST(PortList, NoPortGivesDemoOnlyAndDeniedPortsAreReported) {
    ProbeOnlyBackend backend;
    platform::VirtualClock clock;
    const platform::ComPortMap ports;
    backend.denied = {"/dev/ttyS0"};
    TSerialCom prober(backend, clock, ports);

    const auto scan = app::AvailablePorts(prober, ports);
    ASSERT_EQ(scan.entries.size(), 1u);
    EXPECT_EQ(app::EntryText(scan.entries[0]), "Demo");
    ASSERT_EQ(scan.denied.size(), 1u);
    EXPECT_EQ(app::EntryText(scan.denied[0]), "COM 33");

    const QString advice = app::PermissionAdvice(scan.denied, 0);
    EXPECT_TRUE(advice.contains("COM 33 (/dev/ttyS0)"));
    EXPECT_TRUE(advice.contains("dialout"));
    EXPECT_TRUE(
        app::PermissionAdvice(scan.denied, 1).contains(QStringLiteral("Gruppe \"dialout\"")));
    EXPECT_TRUE(app::PermissionAdvice(scan.denied, 2).isEmpty());
    EXPECT_TRUE(app::PermissionAdvice({}, 0).isEmpty());
}

TEST(PortList, ChoiceFromEntryText) {
    EXPECT_EQ(app::ChoiceFromEntry("Demo"), 0);
    EXPECT_EQ(app::ChoiceFromEntry("COM 3"), 3);
    EXPECT_EQ(app::ChoiceFromEntry("COM 100"), 100);
    EXPECT_EQ(app::ChoiceFromEntry("COM x"), 255);
}

}  // namespace
