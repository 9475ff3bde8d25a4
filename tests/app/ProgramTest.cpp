#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTimer>

#include <vector>

#include "app/Main.h"
#include "app/Program.h"
#include "app/VarnelApplication.h"
#include "history/Location.h"
#include "platform/Clock.h"
#include "sim/InProcessBackend.h"
#include "sim/SimulatedSensor.h"
#include "support/GuiTestEnvironment.h"
#include "support/ScriptedDialogs.h"

namespace {

class ProgramTest : public testing::Test {
protected:
    TempHome home;
    platform::VirtualClock clock;
    sim::SimulatedSensor sensor;
    sim::InProcessBackend serial{sensor, clock};
    sim::InProcessBackend probe{sensor, clock};
    ScriptedDialogs dialogs;

    int run() { return RunVarnel(QtEnvironment::app(), {serial, clock, dialogs, probe}); }

    void expectEndedWithMessage(const QString& containing) {
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_TRUE(dialogs.messages[0].text.contains(containing))
            << dialogs.messages[0].text.toStdString();
        EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::Ok);
        for (QWidget* window : QApplication::topLevelWidgets()) {
            EXPECT_EQ(qobject_cast<TMainForm*>(window), nullptr) << "a main window is left";
        }
    }

    // Runs with `settings` stored; the program must end with a message containing
    // `containing` and leave the file as it was.
    void expectSettingsRejected(const QByteArray& settings, const QString& containing) {
        home.writeSettings(settings);
        EXPECT_EQ(run(), 1);
        expectEndedWithMessage(containing);
        EXPECT_EQ(home.readSettings(), settings);
    }
};

TEST_F(ProgramTest, InvalidSettingsEndTheProgramWithAMessageAndLeaveTheFile) {
    expectSettingsRejected(R"({"Language": 1 "COM-Port": 3})", QStringLiteral("not valid JSON"));
}

TEST_F(ProgramTest, AValueOfTheWrongTypeEndsTheProgramWithAMessageAndLeavesTheFile) {
    expectSettingsRejected(R"({"Language": "Deutsch"})",
                           QStringLiteral("Invalid data type for 'Language'"));
}

TEST_F(ProgramTest, AFactoryKeyStoredAsANumberEndsTheProgram) {
    expectSettingsRejected(R"({"Language": 0, "FactoryKey": 5820463917305286})",
                           QStringLiteral("Invalid data type for 'FactoryKey'"));
}

TEST_F(ProgramTest, AFirstRunAsksTheLanguageRunsUntilQuitAndPulsesRtsOnTheWayOut) {
    home.writeSettings(R"({"COM-Port": 1})");
    dialogs.dialogScripts.push_back([](QDialog& dialog) {
        dialog.done(1);
        return 1;
    });
    // Quits once the window is up; showing the splash already runs pending events.
    QTimer quit;
    QObject::connect(&quit, &QTimer::timeout, [&quit] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* form = qobject_cast<TMainForm*>(window);
            if (form != nullptr && form->isVisible()) {
                quit.stop();
                form->ui.FileExitItem->trigger();
            }
        }
    });
    quit.start(1);
    EXPECT_EQ(run(), 0);

    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(QJsonDocument::fromJson(home.readSettings()).object().value("Language").toInt(), 1);
    const auto& traffic = sensor.traffic();
    ASSERT_GE(traffic.size(), 2u);
    EXPECT_EQ(traffic[traffic.size() - 2].text, "1");
    EXPECT_EQ(traffic.back().text, "0");
    EXPECT_EQ(traffic.back().timeMs - traffic[traffic.size() - 2].timeMs, 100);
}

// The sensor found at start-up leaves its read in the history that the settings
// name, by default the SQLite file in the user's data folder.
TEST_F(ProgramTest, TheProgramRecordsIntoTheHistoryTheSettingsName) {
    const QString plant = QDir(home.path()).filePath(QStringLiteral("plant.sqlite"));
    struct Case {
        QByteArray settings;
        QString database;
    };
    const std::vector<Case> cases = {
        {R"({"Language": 0, "COM-Port": 1})", home.dataPath() + "/history.sqlite"},
        {R"({"Language": 0, "COM-Port": 1, "HistoryDatabase": ")" + plant.toUtf8() + R"("})",
         plant},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.database.toStdString());
        home.writeSettings(c.settings);
        QTimer quit;
        QObject::connect(&quit, &QTimer::timeout, [&quit] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                auto* form = qobject_cast<TMainForm*>(window);
                if (form != nullptr && form->State.SensorOnline) {
                    quit.stop();
                    form->ui.FileExitItem->trigger();
                }
            }
        });
        quit.start(1);
        EXPECT_EQ(run(), 0);
        ASSERT_TRUE(QFile::exists(c.database));
        const auto store = history::OpenStore(c.database.toStdString());
        const auto events = store->events({});
        ASSERT_TRUE(events) << store->lastError();
        ASSERT_FALSE(events->empty());
        const history::Event& first = events->back();
        EXPECT_EQ(first.operation, history::Operation::Read);
        EXPECT_EQ(first.origin.program, "varnel");
        EXPECT_EQ(first.origin.version, VARNEL_BUILD_VERSION);
        EXPECT_EQ(first.origin.account, getpwuid(getuid())->pw_name);
        EXPECT_EQ(first.port, "COM 1");
    }
}

// A Qt quit closes the open windows, which must not run the close handling here.
TEST_F(ProgramTest, QuitInTheFirstPortDialogEndsTheProgramWithoutTouchingAPort) {
    home.writeSettings(R"({"Language": 0})");
    dialogs.dialogScripts.push_back([](QDialog& dialog) {
        dialog.findChild<QPushButton*>(QStringLiteral("Quit"))->click();
        return dialog.result();
    });
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(dialogs.dialogsShown, std::vector<QString>{QStringLiteral("ComPortSelectForm")});
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(sensor.traffic().empty());
    EXPECT_EQ(serial.baudRate(), 0) << "a port was opened";
    EXPECT_FALSE(QJsonDocument::fromJson(home.readSettings()).object().contains("COM-Port"));
}

}  // namespace
