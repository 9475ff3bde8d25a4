#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/Comportselect.h"
#include "platform/ComPortMap.h"
#include "sim/InProcessBackend.h"
#include "sim/SimulatedSensor.h"
#include "support/GuiTestEnvironment.h"
#include "support/SwitchedBackend.h"

namespace {

std::vector<app::PortEntry> Entries() {
    return {{0, {}}, {1, "/dev/ttyUSB0"}, {3, "/dev/ttyUSB2"}, {12, "/dev/pts/sim"}};
}

struct Dialog {
    explicit Dialog(uint8_t language = 0, PortDialogServices services = {})
        : form(Entries(), language, nullptr, std::move(services)) {}
    QListWidget& list() { return *form.findChild<QListWidget*>("ComListe"); }
    QPushButton& button(const char* name) { return *form.findChild<QPushButton*>(name); }
    QLineEdit& address() { return *form.findChild<QLineEdit*>("Address"); }
    QString status() { return form.findChild<QLabel*>("SearchStatus")->text(); }
    QListWidgetItem* entry(const char* text) {
        return list().findItems(QString::fromLatin1(text), Qt::MatchExactly).value(0);
    }

    TComPortSelectForm form;
};

TEST(PortDialog, ListsDemoAndThePortsWithTheirDevicePaths) {
    Dialog dialog;
    ASSERT_EQ(dialog.list().count(), 4);
    EXPECT_EQ(dialog.list().item(0)->text(), "Demo");
    EXPECT_EQ(dialog.list().item(1)->text(), "COM 1");
    EXPECT_EQ(dialog.list().item(3)->text(), "COM 12");
    EXPECT_EQ(dialog.list().item(3)->toolTip(), "/dev/pts/sim");
    EXPECT_TRUE(dialog.list().item(0)->toolTip().isEmpty());
    EXPECT_EQ(dialog.list().currentRow(), -1);
    EXPECT_EQ(dialog.list().toolTip(), "Select the COM-Port where the programmer is located");
    EXPECT_EQ(dialog.form.windowTitle(), "Varnel");
    EXPECT_EQ(dialog.form.findChild<QLabel*>("Label1")->text(),
              "Please select an available COM-Port for the KYR-Varnel");
    EXPECT_EQ(dialog.button("Connect").text(), "&Connect");
    EXPECT_EQ(dialog.button("Quit").text(), "&Quit");
}

TEST(PortDialog, GermanTexts) {
    Dialog dialog(1);
    EXPECT_EQ(dialog.form.findChild<QLabel*>("Label1")->text(),
              QStringLiteral("Bitte wählen sie den COM-Port für den Varnel aus"));
    EXPECT_EQ(dialog.button("Connect").text(), "&Verbinden");
    EXPECT_EQ(dialog.button("Quit").text(), "&Abbrechen");
}

TEST(PortDialog, ConnectWaitsForAChoice) {
    Dialog dialog;
    EXPECT_FALSE(dialog.button("Connect").isEnabled());
    EXPECT_EQ(dialog.form.Choice(), app::NoChoice);
    dialog.form.ConnectClick();
    EXPECT_EQ(dialog.form.result(), 0);

    dialog.form.ComListeClick(dialog.entry("COM 12"));
    EXPECT_EQ(dialog.form.Choice(), 12);
    EXPECT_TRUE(dialog.button("Connect").isEnabled());
    dialog.form.ComListeClick(nullptr);
    EXPECT_EQ(dialog.form.Choice(), 12);
    dialog.button("Connect").click();
    EXPECT_EQ(dialog.form.result(), TComPortSelectForm::ConnectResult);
}

TEST(PortDialog, DoubleClickConnectsAndQuitCancels) {
    Dialog chosen;
    chosen.form.ComListeDblClick(chosen.entry("Demo"));
    EXPECT_EQ(chosen.form.Choice(), TSerialCom::DemoPort);
    EXPECT_EQ(chosen.form.result(), TComPortSelectForm::ConnectResult);

    Dialog quit;
    quit.form.ComListeClick(quit.entry("COM 3"));
    quit.button("Quit").click();
    EXPECT_EQ(quit.form.result(), TComPortSelectForm::QuitResult);
}

platform::PortDescription Ftdi() {
    return {"/dev/ttyUSB0", "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0",
            "0403",         "6001",
            "FTDI",         "FT232R USB UART",
            "A50285BI",     "ftdi_sio"};
}

TEST(PortDialog, DescribesEachPortInItsToolTip) {
    const auto describe = [](const std::string& path) {
        platform::PortDescription described;
        if (path == "/dev/ttyUSB0")
            return Ftdi();
        if (path == "/dev/ttyUSB2")
            described.driver = "port";
        described.devicePath = path;
        return described;
    };
    Dialog english(0, {.describe = describe, .tryPort = {}});
    EXPECT_EQ(english.entry("COM 1")->toolTip(),
              "/dev/ttyUSB0\n"
              "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0\n"
              "FTDI FT232R USB UART (USB 0403:6001)\n"
              "Serial number: A50285BI\n"
              "Driver: ftdi_sio");
    EXPECT_EQ(english.entry("COM 3")->toolTip(), "/dev/ttyUSB2\nDriver: port");
    EXPECT_EQ(english.entry("COM 12")->toolTip(), "/dev/pts/sim");
    // The list keeps its entries and their texts.
    EXPECT_EQ(english.list().item(1)->text(), "COM 1");

    Dialog german(1, {.describe = describe, .tryPort = {}});
    EXPECT_EQ(german.entry("COM 1")->toolTip(),
              "/dev/ttyUSB0\n"
              "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0\n"
              "FTDI FT232R USB UART (USB 0403:6001)\n"
              "Seriennummer: A50285BI\n"
              "Treiber: ftdi_sio");
}

TEST(PortDialog, ChoosingARememberedPathPrefersTheStableName) {
    EXPECT_EQ(app::RememberedPath(Ftdi()), Ftdi().byIdPath);
    platform::PortDescription plain;
    plain.devicePath = "/dev/ttyS0";
    EXPECT_EQ(app::RememberedPath(plain), "/dev/ttyS0");
}

// A QH sensor behind COM 12, a silent one behind COM 1; COM 3's device is missing.
class PortSearch : public testing::Test {
protected:
    PortSearch() : sensor(*sim::presetConfig("qh")), silent(*sim::presetConfig("qh")) {
        silent.faults().silent = true;
        switched.devices = {{"/dev/pts/sim", &answering}, {"/dev/ttyUSB0", &mute}};
    }
    PortDialogServices services() {
        return {.describe = platform::DescribePort, .tryPort = [this](const app::PortEntry& port) {
                    progress.push_back(shown->status());
                    return search::TryPort(link, port);
                }};
    }
    std::vector<std::string> commandsOf(const sim::SimulatedSensor& s) const {
        std::vector<std::string> sent;
        for (const auto& e : s.traffic()) {
            if (e.kind == sim::TrafficEntry::Kind::Command)
                sent.push_back(e.text);
        }
        return sent;
    }

    platform::VirtualClock clock;
    sim::SimulatedSensor sensor;
    sim::SimulatedSensor silent;
    sim::InProcessBackend answering{sensor, clock, "/dev/pts/sim"};
    sim::InProcessBackend mute{silent, clock, "/dev/ttyUSB0"};
    SwitchedBackend switched;
    platform::ComPortMap ports{{{12, "/dev/pts/sim"}}};
    TSSICom link{switched, clock, ports};
    Dialog* shown = nullptr;
    std::vector<QString> progress;
};

TEST_F(PortSearch, FindsTheSensorShowsProgressAndSelectsItsPort) {
    Dialog dialog(0, services());
    shown = &dialog;
    EXPECT_EQ(dialog.button("Search").text(), "Search");
    EXPECT_TRUE(dialog.button("Search").isEnabled());
    dialog.button("Search").click();
    EXPECT_EQ(progress,
              (std::vector<QString>{"Searching COM 1 (1 of 3) ...", "Searching COM 3 (2 of 3) ...",
                                    "Searching COM 12 (3 of 3) ..."}));
    EXPECT_EQ(dialog.status(), QString::fromStdString("COM 12: sensor " + sensor.factoryNumber() +
                                                      ", Q-Series SSI (QH)"));
    EXPECT_EQ(dialog.form.Choice(), 12);
    EXPECT_EQ(dialog.list().currentItem()->text(), "COM 12");
    EXPECT_TRUE(dialog.button("Connect").isEnabled());
    // Read only, and each port closed again.
    EXPECT_EQ(commandsOf(sensor), (std::vector<std::string>{"FA", "LA"}));
    EXPECT_EQ(commandsOf(silent), std::vector<std::string>(5, "FA"));
    EXPECT_FALSE(answering.isOpen());
    EXPECT_FALSE(mute.isOpen());
    EXPECT_EQ(dialog.form.result(), 0);
}

TEST_F(PortSearch, GermanTextsAndNoSensor) {
    switched.devices.erase("/dev/pts/sim");
    Dialog dialog(1, services());
    shown = &dialog;
    EXPECT_EQ(dialog.button("Search").text(), "Suchen");
    dialog.form.SearchClick();
    EXPECT_EQ(progress.front(), "Suche an COM 1 (1 von 3) ...");
    EXPECT_EQ(dialog.status(),
              QStringLiteral("An keinem der aufgeführten Ports hat ein Sensor geantwortet."));
    EXPECT_EQ(dialog.form.Choice(), app::NoChoice);
    EXPECT_FALSE(dialog.button("Connect").isEnabled());

    switched.devices["/dev/pts/sim"] = &answering;
    dialog.form.SearchClick();
    EXPECT_EQ(dialog.status(), QString::fromStdString("COM 12: Sensor " + sensor.factoryNumber() +
                                                      ", Q-Series SSI (QH)"));
}

TEST(PortDialog, SearchNeedsAWayToTryPorts) {
    Dialog dialog;
    EXPECT_FALSE(dialog.button("Search").isEnabled());
}

TEST(PortDialog, TakesANetworkAddressForTheChosenNumber) {
    Dialog chosen;
    EXPECT_EQ(chosen.form.findChild<QLabel*>("AddressLabel")->text(), "Network address:");
    chosen.form.ComListeClick(chosen.entry("COM 3"));
    chosen.address().setText("rfc2217://192.0.2.10:4001");
    chosen.button("Connect").click();
    EXPECT_EQ(chosen.form.result(), TComPortSelectForm::ConnectResult);
    EXPECT_EQ(chosen.form.Choice(), 3);
    EXPECT_EQ(chosen.form.Address(), "rfc2217://192.0.2.10:4001");

    // Without a chosen port (or with Demo) the address takes the first number not listed.
    Dialog unchosen;
    EXPECT_FALSE(unchosen.button("Connect").isEnabled());
    unchosen.address().setText(" socket://sensor-box.local:4002 ");
    EXPECT_TRUE(unchosen.button("Connect").isEnabled());
    unchosen.button("Connect").click();
    EXPECT_EQ(unchosen.form.Choice(), 2);
    EXPECT_EQ(unchosen.form.Address(), "socket://sensor-box.local:4002");

    // A port chosen from the list has no address.
    Dialog listed;
    listed.form.ComListeDblClick(listed.entry("COM 1"));
    EXPECT_EQ(listed.form.Address(), "");
}

TEST(PortDialog, AnAddressOfAnotherFormIsRefusedWithTheForm) {
    for (const uint8_t language : {uint8_t{0}, uint8_t{1}}) {
        Dialog dialog(language);
        dialog.form.ComListeClick(dialog.entry("COM 1"));
        dialog.address().setText("192.0.2.10:4001");
        dialog.button("Connect").click();
        EXPECT_EQ(dialog.form.result(), 0);
        EXPECT_EQ(dialog.form.Address(), "");
        EXPECT_EQ(
            dialog.status(),
            language == 0
                ? QStringLiteral("Enter the address as rfc2217://HOST:PORT or socket://HOST:PORT.")
                : QStringLiteral("Geben Sie die Adresse als rfc2217://HOST:PORT oder "
                                 "socket://HOST:PORT ein."));
    }
}

TEST(PortDialog, NetworkAddressForms) {
    const std::vector<std::pair<const char*, bool>> cases = {
        {"rfc2217://192.0.2.10:4001", true}, {"socket://localhost:1", true},
        {"socket://[::1]:65535", true},      {"rfc2217://pi-3.example.org:4001", true},
        {"rfc2217://192.0.2.10", false},     {"rfc2217://:4001", false},
        {"socket://host:0", false},          {"socket://host:65536", false},
        {"telnet://host:23", false},         {"rfc2217://host:4001/x", false},
        {"RFC2217://host:4001", false},      {"/dev/ttyUSB0", false},
        {"socket://ho st:4001", false},      {"", false},
    };
    for (const auto& [text, valid] : cases)
        EXPECT_EQ(app::IsNetworkAddress(QString::fromLatin1(text)), valid) << text;
}

TEST(PortDialog, ListingAnewKeepsTheChoiceWhileItIsListed) {
    Dialog dialog;
    dialog.form.ComListeClick(dialog.entry("COM 3"));
    dialog.form.ShowPorts({{0, {}}, {2, "/dev/ttyUSB1"}, {3, "/dev/ttyUSB2"}});
    ASSERT_EQ(dialog.list().count(), 3);
    EXPECT_EQ(dialog.list().item(1)->text(), "COM 2");
    EXPECT_EQ(dialog.form.Choice(), 3);
    EXPECT_EQ(dialog.list().currentItem()->text(), "COM 3");
    dialog.form.ShowPorts({{0, {}}, {2, "/dev/ttyUSB1"}});
    EXPECT_EQ(dialog.form.Choice(), app::NoChoice);
    EXPECT_EQ(dialog.list().currentRow(), -1);
    EXPECT_FALSE(dialog.button("Connect").isEnabled());
}

}  // namespace
