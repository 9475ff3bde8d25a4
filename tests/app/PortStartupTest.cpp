#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/Comportselect.h"
#include "app/Startup.h"
#include "support/FormHarness.h"
#include "support/GuiTestEnvironment.h"

namespace {

// Start-up's port step and the SelComPort button, with COM1 (/dev/ttyUSB0) present.
class PortStartupTest : public testing::Test {
protected:
    TMainForm& startWith(const QByteArray& settings) {
        home.writeSettings(settings);
        return harness.start();
    }
    QJsonObject stored() const { return QJsonDocument::fromJson(home.readSettings()).object(); }
    // Answers the port dialog by clicking `entry` (nullptr: none) and then `button`.
    void answerPortDialog(const char* entry, const char* button) {
        harness.dialogs.dialogScripts.push_back([this, entry, button](QDialog& dialog) {
            auto& list = *dialog.findChild<QListWidget*>(QStringLiteral("ComListe"));
            for (int row = 0; row < list.count(); ++row)
                listed.push_back(list.item(row)->text());
            if (entry != nullptr) {
                static_cast<TComPortSelectForm&>(dialog).ComListeClick(
                    list.findItems(QString::fromLatin1(entry), Qt::MatchExactly).value(0));
            }
            dialog.findChild<QPushButton*>(QString::fromLatin1(button))->click();
            return dialog.result();
        });
    }

    // Picks `entry`, then leaves the dialog as Escape or the window's close button do.
    void rejectPortDialog(const char* entry) {
        harness.dialogs.dialogScripts.push_back([entry](QDialog& dialog) {
            auto& list = *dialog.findChild<QListWidget*>(QStringLiteral("ComListe"));
            static_cast<TComPortSelectForm&>(dialog).ComListeClick(
                list.findItems(QString::fromLatin1(entry), Qt::MatchExactly).value(0));
            dialog.reject();
            return dialog.result();
        });
    }

    TempHome home;
    FormHarness harness;
    std::vector<QString> listed;
};

TEST_F(PortStartupTest, AStoredPortThatOpensIsUsedWithoutAsking) {
    TMainForm& form = startWith(R"({"Language": 0, "COM-Port": 1})");
    EXPECT_TRUE(harness.dialogs.dialogsShown.empty());
    EXPECT_EQ(form.State.PortNumber, 1);
    EXPECT_TRUE(form.SensorLink.IsOpen());
    EXPECT_EQ(harness.serial.baudRate(), 4800);
}

TEST_F(PortStartupTest, WithoutAStoredPortTheChoiceIsAskedAndStored) {
    harness.probe.present.insert("/dev/ttyUSB2");
    answerPortDialog("COM 1", "Connect");
    TMainForm& form = startWith(R"({"Language": 0})");
    EXPECT_EQ(harness.dialogs.dialogsShown, (std::vector<QString>{"ComPortSelectForm"}));
    EXPECT_EQ(listed, (std::vector<QString>{"Demo", "COM 1", "COM 3"}));
    EXPECT_EQ(form.State.PortNumber, 1);
    EXPECT_EQ(stored().value("COM-Port").toInt(), 1);
    EXPECT_TRUE(form.SensorLink.IsOpen());
}

TEST_F(PortStartupTest, ChoosingDemoLoadsTheDemoSetAndStoresNothing) {
    answerPortDialog("Demo", "Connect");
    TMainForm& form = startWith(R"({"Language": 0})");
    EXPECT_EQ(form.State.PortNumber, TSerialCom::DemoPort);
    EXPECT_FALSE(stored().contains("COM-Port"));
    EXPECT_EQ(form.SensorLink[TSSICom::Resolution].Value, 5);
    EXPECT_EQ(form.SensorLink[TSSICom::BitWidth].Value, 25);
}

// Quit, Escape and the close button all end the program at the first start, and no port
// is touched on the way out, not even by the close handling.
TEST_F(PortStartupTest, LeavingTheDialogAtTheFirstStartEndsWithoutTouchingAPort) {
    for (const bool quitButton : {true, false}) {
        if (quitButton) {
            answerPortDialog("COM 1", "Quit");
        } else {
            rejectPortDialog("COM 1");
        }
        home.writeSettings(R"({"Language": 0})");
        TMainForm& form = harness.create();
        EXPECT_FALSE(Startup(form.StartupWiring()).Run());
        EXPECT_FALSE(form.isVisible());
        form.close();
        harness.destroy();
        EXPECT_FALSE(stored().contains("COM-Port"));
        EXPECT_EQ(harness.serial.baudRate(), 0) << "a port was opened";
        EXPECT_TRUE(harness.sensor.traffic().empty());
    }
}

TEST_F(PortStartupTest, StoredDemoPortStartsWithoutDialogAndWithoutTheDemoSet) {
    TMainForm& form = startWith(R"({"Language": 0, "COM-Port": 0})");
    EXPECT_TRUE(harness.dialogs.dialogsShown.empty());
    EXPECT_EQ(form.State.PortNumber, TSerialCom::DemoPort);
    EXPECT_EQ(form.SensorLink[TSSICom::Resolution].Value, 0);
}

TEST_F(PortStartupTest, AStoredPortThatIsGoneLeadsToTheDialog) {
    answerPortDialog("COM 1", "Connect");
    TMainForm& form = startWith(R"({"Language": 0, "COM-Port": 5})");
    EXPECT_EQ(harness.dialogs.dialogsShown, (std::vector<QString>{"ComPortSelectForm"}));
    EXPECT_TRUE(harness.dialogs.messages.empty());
    EXPECT_EQ(form.State.PortNumber, 1);
    EXPECT_EQ(stored().value("COM-Port").toInt(), 1);
}

TEST_F(PortStartupTest, AStoredPortWithoutPermissionSaysWhatToDo) {
    harness.probe.denied.insert("/dev/ttyUSB4");
    answerPortDialog("Demo", "Connect");
    startWith(R"({"Language": 0, "COM-Port": 5})");
    ASSERT_GE(harness.dialogs.messages.size(), 1u);
    EXPECT_TRUE(harness.dialogs.messages[0].text.contains("COM 5 (/dev/ttyUSB4)"));
    EXPECT_TRUE(harness.dialogs.messages[0].text.contains("dialout"));
    EXPECT_EQ(harness.dialogs.dialogsShown, (std::vector<QString>{"ComPortSelectForm"}));
    EXPECT_EQ(stored().value("COM-Port").toInt(), 5);
}

TEST_F(PortStartupTest, AStoredPortHeldByAnotherProgramIsNamedInEachLanguage) {
    const struct {
        int language;
        QString text;
    } cases[] = {
        {0,
         "COM 5 (/dev/ttyUSB4) is in use by another program.\n\nClose that program, or choose "
         "another port."},
        {1,
         "COM 5 (/dev/ttyUSB4) wird von einem anderen Programm benutzt.\n\nSchließen Sie dieses "
         "Programm, oder wählen Sie einen anderen Port."},
    };
    for (const auto& c : cases) {
        FormHarness starting;
        starting.probe.busy.insert("/dev/ttyUSB4");
        home.writeSettings(
            QStringLiteral(R"({"Language": %1, "COM-Port": 5})").arg(c.language).toUtf8());
        starting.start();
        ASSERT_EQ(starting.dialogs.messages.size(), 1u);
        EXPECT_EQ(starting.dialogs.messages[0].text, c.text);
        EXPECT_EQ(starting.dialogs.messages[0].caption, "Varnel");
        EXPECT_EQ(starting.dialogs.dialogsShown, (std::vector<QString>{"ComPortSelectForm"}));
        EXPECT_EQ(stored().value("COM-Port").toInt(), 5);
    }
}

TEST_F(PortStartupTest, TheButtonReopensTheChosenPortAndQuitKeepsThePort) {
    TMainForm& form = startWith(R"({"Language": 0, "COM-Port": 1})");
    answerPortDialog("Demo", "Connect");
    form.SelComPortClick();
    EXPECT_EQ(form.State.PortNumber, TSerialCom::DemoPort);
    EXPECT_FALSE(form.SensorLink.IsOpen());
    EXPECT_EQ(stored().value("COM-Port").toInt(), 1);

    answerPortDialog(nullptr, "Quit");
    form.State.PortNumber = 1;
    form.SelComPortClick();
    EXPECT_EQ(form.State.PortNumber, 1);
    EXPECT_TRUE(form.SensorLink.IsOpen());
    QCoreApplication::removePostedEvents(QCoreApplication::instance());
}

// Start-up closes the settings store; a later choice must still keep every other member.
TEST_F(PortStartupTest, AChoiceAtRunTimeKeepsEveryOtherSetting) {
    harness.probe.present.insert("/dev/ttyUSB2");
    TMainForm& form = startWith(R"({"Language": 1, "COM-Port": 1, "FactoryKey": "731846205913",
                                     "PortMap": {"7": "/dev/ttyUSB0"}})");
    answerPortDialog("COM 3", "Connect");
    form.SelComPortClick();
    const QJsonObject settings = stored();
    EXPECT_EQ(settings.value("COM-Port").toInt(), 3);
    EXPECT_EQ(settings.value("Language").toInt(), 1);
    EXPECT_EQ(settings.value("FactoryKey").toString(), "731846205913");
    EXPECT_EQ(settings.value("PortMap").toObject().value("7").toString(), "/dev/ttyUSB0");
}

TEST_F(PortStartupTest, ClosingTheDialogOfTheButtonOpensThePreviousPortAgain) {
    TMainForm& form = startWith(R"({"Language": 0, "COM-Port": 1})");
    const QByteArray settings = home.readSettings();
    rejectPortDialog("Demo");
    form.SelComPortClick();
    EXPECT_EQ(form.State.PortNumber, 1);
    EXPECT_TRUE(form.SensorLink.IsOpen());
    EXPECT_EQ(harness.serial.baudRate(), 4800);
    EXPECT_EQ(form.SensorLink[TSSICom::Resolution].Value, 0) << "the demo set was loaded";
    EXPECT_EQ(home.readSettings(), settings);
}

constexpr char kStableName[] = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";

TEST_F(PortStartupTest, AChosenAdapterIsRememberedByItsStableName) {
    platform::PortDescription ftdi;
    ftdi.devicePath = "/dev/ttyUSB0";
    ftdi.byIdPath = kStableName;
    harness.descriptions["/dev/ttyUSB0"] = ftdi;
    harness.devices.links[kStableName] = "/dev/ttyUSB0";
    answerPortDialog("COM 1", "Connect");
    TMainForm& form = startWith(R"({"Language": 0, "PortMap": {"7": "/dev/pts/3"}})");
    EXPECT_EQ(stored().value("COM-Port").toInt(), 1);
    const QJsonObject map = stored().value("PortMap").toObject();
    EXPECT_EQ(map.value("1").toString(), kStableName);
    EXPECT_EQ(map.value("7").toString(), "/dev/pts/3");
    EXPECT_EQ(form.ports().devicePath(1), kStableName);
    EXPECT_TRUE(form.SensorLink.IsOpen());

    // A port without a stable name keeps the device its number leads to.
    harness.probe.present.insert("/dev/ttyUSB2");
    answerPortDialog("COM 3", "Connect");
    form.SelComPortClick();
    EXPECT_FALSE(stored().value("PortMap").toObject().contains("3"));
    EXPECT_EQ(stored().value("COM-Port").toInt(), 3);
}

TEST_F(PortStartupTest, TheDialogsSearchFindsTheSensorOnTheLinksOwnBackend) {
    QString shown;
    harness.dialogs.dialogScripts.push_back([&shown](QDialog& dialog) {
        dialog.findChild<QPushButton*>(QStringLiteral("Search"))->click();
        shown = dialog.findChild<QLabel*>(QStringLiteral("SearchStatus"))->text();
        dialog.findChild<QPushButton*>(QStringLiteral("Connect"))->click();
        return dialog.result();
    });
    TMainForm& form = startWith(R"({"Language": 0})");
    EXPECT_EQ(shown, QString::fromStdString("COM 1: sensor " + harness.sensor.factoryNumber() +
                                            ", Q-Series SSI (QH)"));
    EXPECT_EQ(form.State.PortNumber, 1);
    EXPECT_EQ(stored().value("COM-Port").toInt(), 1);
    EXPECT_TRUE(form.SensorLink.IsOpen());
    std::vector<std::string> sent;
    for (const auto& entry : harness.sensor.traffic()) {
        if (entry.kind == sim::TrafficEntry::Kind::Command)
            sent.push_back(entry.text);
    }
    EXPECT_EQ(sent, (std::vector<std::string>{"FA", "LA"}));
}

TEST_F(PortStartupTest, AnAddressIsStoredAsTheChosenNumbersEntry) {
    harness.dialogs.dialogScripts.push_back([](QDialog& dialog) {
        auto& list = *dialog.findChild<QListWidget*>(QStringLiteral("ComListe"));
        static_cast<TComPortSelectForm&>(dialog).ComListeClick(list.item(1));
        dialog.findChild<QLineEdit*>(QStringLiteral("Address"))
            ->setText(QStringLiteral("rfc2217://192.0.2.10:4001"));
        dialog.findChild<QPushButton*>(QStringLiteral("Connect"))->click();
        return dialog.result();
    });
    TMainForm& form = startWith(R"({"Language": 0})");
    EXPECT_EQ(stored().value("COM-Port").toInt(), 1);
    EXPECT_EQ(stored().value("PortMap").toObject().value("1").toString(),
              "rfc2217://192.0.2.10:4001");
    EXPECT_EQ(form.ports().devicePath(1), "rfc2217://192.0.2.10:4001");
    EXPECT_EQ(form.State.PortNumber, 1);
}

}  // namespace
