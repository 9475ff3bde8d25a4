#include <gtest/gtest.h>

#include <QGuiApplication>

#include <QAction>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "app/Aboutinfo.h"
#include "app/VarnelApplication.h"
#include "support/FormHarness.h"
#include "support/GuiTestEnvironment.h"
#include "ui/controls/Hint.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/PageControl.h"

namespace {

class MainWindowTest : public testing::Test {
protected:
    TempHome home;
    FormHarness harness;

    TMainForm& startWith(const QByteArray& settings) {
        home.writeSettings(settings);
        return harness.start();
    }
    int storedLanguage() const {
        return QJsonDocument::fromJson(home.readSettings()).object().value("Language").toInt(-1);
    }
};

TEST_F(MainWindowTest, TheUpdateButtonFollowsParametersChanged) {
    TMainForm& form = startWith(R"({"Language": 0})");
    form.State.MarkParametersChanged();
    EXPECT_TRUE(form.State.ParametersChanged);
    EXPECT_TRUE(form.Parameters->ui.SensorInfo.EEPROMUpdateButton->isEnabled());
    form.State.MarkParametersChanged();
    EXPECT_TRUE(form.Parameters->ui.SensorInfo.EEPROMUpdateButton->isEnabled());

    form.State.ClearParametersChanged();
    EXPECT_FALSE(form.State.ParametersChanged);
    EXPECT_FALSE(form.Parameters->ui.SensorInfo.EEPROMUpdateButton->isEnabled());
    form.State.ClearParametersChanged();
    EXPECT_FALSE(form.Parameters->ui.SensorInfo.EEPROMUpdateButton->isEnabled());
}

TEST_F(MainWindowTest, EverySwitchOfTheLanguageIsStoredAtOnce) {
    TMainForm& form = startWith(R"({"Language": 0, "COM-Port": 4})");
    form.ui.Deutsch1->trigger();
    EXPECT_EQ(storedLanguage(), 1);
    EXPECT_EQ(form.ui.FileMenu->title(), QStringLiteral("D&atei"));
    EXPECT_EQ(form.ui.FileOpenItem->text(), QStringLiteral("Öffnen..."));
    EXPECT_TRUE(form.ui.Deutsch1->isChecked());
    EXPECT_FALSE(form.ui.English1->isChecked());

    form.ui.English1->trigger();
    EXPECT_EQ(storedLanguage(), 0);
    EXPECT_EQ(form.ui.FileMenu->title(), QStringLiteral("&File"));

    home.writeSettings(R"({"COM-Port": 4})");
    form.ui.English1->trigger();
    const QJsonObject stored = QJsonDocument::fromJson(home.readSettings()).object();
    EXPECT_EQ(stored.value("Language").toInt(-1), 0);
    EXPECT_EQ(stored.value("COM-Port").toInt(), 4);
    EXPECT_FALSE(harness.settings.isOpen());
}

TEST_F(MainWindowTest, ASwitchMakesTheNextPollFindTheSensorAnew) {
    TMainForm& form = startWith(R"({"Language": 0})");
    form.State.SensorOnline = true;
    form.State.MissedPolls = 3;
    form.ui.ParameterPage->setEnabled(true);

    form.SwitchLanguage(1);
    EXPECT_FALSE(form.State.SensorOnline);
    EXPECT_EQ(form.State.MissedPolls, 0u);
    EXPECT_FALSE(form.ui.ParameterPage->isEnabled());
    EXPECT_TRUE(form.isVisible());
}

TEST_F(MainWindowTest, ASwitchThatCannotBeStoredStillFindsTheSensorAnewAndReportsTheError) {
    TMainForm& form = startWith(R"({"Language": 0})");
    form.State.SensorOnline = true;
    const QByteArray broken = "{";
    home.writeSettings(broken);

    EXPECT_THROW(form.SwitchLanguage(1), SettingsError);
    EXPECT_EQ(form.State.UiLanguage, 1);
    EXPECT_FALSE(form.State.SensorOnline);
    EXPECT_EQ(home.readSettings(), broken);
}

TEST_F(MainWindowTest, TheAboutBoxShowsTitleAndBuild) {
    TMainForm& form = startWith(R"({"Language": 1, "COM-Port": 1})");
    QString title, build, caption;
    harness.dialogs.dialogScripts.push_back([&](QDialog& dialog) {
        auto& about = static_cast<TAboutForm&>(dialog);
        title = about.Label1->text();
        build = about.CloseLabel->text();
        caption = about.windowTitle();
        return int(QDialog::Accepted);
    });
    form.ui.HelpAboutItem->trigger();

    EXPECT_EQ(harness.dialogs.dialogsShown, std::vector<QString>{QStringLiteral("AboutBox")});
    EXPECT_EQ(title, QStringLiteral("Varnel 5.3.6"));
    EXPECT_EQ(build, QStringLiteral("Build: 5.3.6.2"));
    EXPECT_EQ(caption, QStringLiteral("About"));
}

// A display name of its own would make the Linux platforms append " — Varnel" to every title.
TEST_F(MainWindowTest, WindowTitlesAreExactlyTheProgramsOwn) {
    TMainForm& form = startWith(R"({"Language": 0, "COM-Port": 1})");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QGuiApplication::applicationName());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("KYR Varnel 5.3.6"));
}

TEST(AboutBox, AClickOnThePictureClosesItAndAClickOnATextLineDoesNot) {
    TAboutForm about;
    about.ShowBuild();
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));

    QTest::mouseClick(about.Label1, Qt::LeftButton);
    QTest::mouseClick(about.CloseLabel, Qt::LeftButton);
    EXPECT_TRUE(about.isVisible());

    QTest::mouseClick(&about, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST_F(MainWindowTest, QuitClosesTheWindow) {
    TMainForm& form = startWith(R"({"Language": 0, "COM-Port": 0})");
    ASSERT_TRUE(form.isVisible());
    form.ui.FileExitItem->trigger();
    EXPECT_FALSE(form.isVisible());
}

TEST_F(MainWindowTest, ShutdownPulsesRtsForAHundredMillisecondsAndDropsTheLink) {
    startWith(R"({"Language": 0, "COM-Port": 1})");
    harness.sensor.clearTraffic();
    const int64_t start = harness.clock.now();
    harness.destroy();

    std::vector<std::pair<std::string, int64_t>> pulses;
    for (const sim::TrafficEntry& entry : harness.sensor.traffic()) {
        if (entry.kind == sim::TrafficEntry::Kind::Rts)
            pulses.emplace_back(entry.text, entry.timeMs);
    }
    ASSERT_EQ(pulses.size(), 2u);
    EXPECT_EQ(pulses[0], std::make_pair(std::string("1"), start));
    EXPECT_EQ(pulses[1], std::make_pair(std::string("0"), start + 100));
    EXPECT_FALSE(harness.serial.isOpen());
}

TEST_F(MainWindowTest, ATickOfThePollTimerKeepsItRunningAtTwoHundredMilliseconds) {
    TMainForm& form = startWith(R"({"Language": 0})");
    form.Timer1->setInterval(600);
    form.IdleFunction();
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_EQ(form.Timer1->interval(), 200);
}

TEST_F(MainWindowTest, TheHintUnderTheMouseGoesToTheStatusLine) {
    TMainForm& form = startWith(R"({"Language": 0, "COM-Port": 0})");
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(form.Parameters->ui.SensorInfo.EEPROMUpdateButton, &enter);
    EXPECT_EQ(form.ui.StatusLine->currentMessage(),
              QStringLiteral("Saves the current parameters to sensor EEPROM"));

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(form.Parameters->ui.SensorInfo.EEPROMUpdateButton, &leave);
    EXPECT_TRUE(form.ui.StatusLine->currentMessage().isEmpty());

    QTabBar* tabs = form.ui.ParameterPage->findChild<QTabBar*>();
    QTest::mouseMove(tabs, tabs->tabRect(1).center());
    EXPECT_EQ(form.ui.StatusLine->currentMessage(),
              QStringLiteral("Settings for error indication"));

    form.menuBar()->setActiveAction(form.ui.FileMenu->menuAction());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.ui.FileMenu));
    form.ui.FileMenu->setActiveAction(form.ui.FileExitItem);
    EXPECT_EQ(form.ui.StatusLine->currentMessage(), QStringLiteral("Quits the application"));
}

// Throws from its event handler, as a handler whose number conversion fails.
class FailingHandler : public QObject {
public:
    int events = 0;
    bool event(QEvent* event) override {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        ++events;
        throw std::runtime_error("'12a' is not a valid integer value");
    }
};

TEST(ApplicationErrors, AnErrorInAHandlerIsShownAndTheProgramGoesOn) {
    VarnelApplication& app = QtEnvironment::app();
    ScriptedDialogs dialogs;
    app.ReportErrorsThrough(&dialogs);
    FailingHandler handler;

    QEvent first(QEvent::User);
    QCoreApplication::sendEvent(&handler, &first);
    QCoreApplication::postEvent(&handler, new QEvent(QEvent::User));
    QCoreApplication::sendPostedEvents(&handler);

    EXPECT_EQ(handler.events, 2);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("'12a' is not a valid integer value"));
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Varnel"));
    EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::Ok);
    EXPECT_FALSE(app.StartupFailed());
    app.ReportErrorsThrough(nullptr);
}

TEST(ApplicationErrors, AnErrorDuringStartUpEndsTheProgram) {
    VarnelApplication& app = QtEnvironment::app();
    ScriptedDialogs dialogs;
    app.ReportErrorsThrough(&dialogs);
    FailingHandler handler;
    app.SetStartingUp(true);

    QTimer::singleShot(0, &handler, [&handler] {
        QEvent failing(QEvent::User);
        QCoreApplication::sendEvent(&handler, &failing);
    });
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(2); });
    safety.start(5000);
    const int exitCode = QCoreApplication::exec();

    EXPECT_EQ(exitCode, 1);
    EXPECT_TRUE(app.StartupFailed());
    EXPECT_EQ(dialogs.messages.size(), 1u);
    app.SetStartingUp(false);
    app.ReportErrorsThrough(nullptr);
}

}  // namespace
