#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include "app/Aboutinfo.h"
#include "app/SplashFade.h"
#include "params/ParameterPages.h"
#include "settings/Settings.h"
#include "support/FormHarness.h"
#include "support/GuiTestEnvironment.h"
#include "ui/controls/PageControl.h"
#include "ui/controls/StatusLamp.h"

namespace {

class StartupTest : public testing::Test {
protected:
    TempHome home;
    FormHarness harness;

    int storedLanguage() const {
        return QJsonDocument::fromJson(home.readSettings()).object().value("Language").toInt(-1);
    }
};

TEST_F(StartupTest, TheFirstStartCreatesTheSettingsAndStoresTheChosenLanguage) {
    harness.answerLanguage("DeutschButton");
    TMainForm& form = harness.start();

    // No port is stored either: the port dialog follows the language dialog.
    ASSERT_EQ(harness.dialogs.dialogsShown,
              (std::vector<QString>{QStringLiteral("LanguageSelect"),
                                    QStringLiteral("ComPortSelectForm")}));
    EXPECT_TRUE(QFileInfo::exists(home.settingsPath()));
    EXPECT_EQ(storedLanguage(), 1);
    EXPECT_EQ(form.State.UiLanguage, 1);
    EXPECT_EQ(form.State.AccessLevel, TAccessLevel::User);
    EXPECT_EQ(form.ui.FileMenu->title(), QStringLiteral("D&atei"));
    EXPECT_TRUE(form.ui.Deutsch1->isChecked());
    EXPECT_FALSE(form.ui.English1->isChecked());
}

TEST_F(StartupTest, ALanguageDialogClosedOtherwiseChoosesEnglish) {
    TMainForm& form = harness.start();  // the script rejects the dialog
    EXPECT_EQ(form.State.UiLanguage, 0);
    EXPECT_EQ(storedLanguage(), 0);
    EXPECT_EQ(form.ui.FileMenu->title(), QStringLiteral("&File"));
}

TEST_F(StartupTest, AStoredLanguageIsUsedWithoutTheDialog) {
    home.writeSettings(R"({"Language": 1, "COM-Port": 1})");
    TMainForm& form = harness.start();
    EXPECT_TRUE(harness.dialogs.dialogsShown.empty());
    EXPECT_EQ(form.State.UiLanguage, 1);
    EXPECT_EQ(form.ui.ParameterPage->pageCaption(QStringLiteral("SSISettings")),
              QStringLiteral("SSI Einstellungen"));
}

TEST_F(StartupTest, ALanguageTheProgramDoesNotKnowFallsBackToEnglish) {
    const QByteArray settings = R"({"Language": 7})";
    home.writeSettings(settings);
    TMainForm& form = harness.start();
    EXPECT_EQ(form.State.UiLanguage, 0);
    EXPECT_TRUE(form.ui.English1->isChecked());
    EXPECT_EQ(form.ui.FileMenu->title(), QStringLiteral("&File"));
    EXPECT_EQ(home.readSettings(), settings);
}

TEST_F(StartupTest, TheLanguageIsTheLowByteOfTheStoredValue) {
    home.writeSettings(R"({"Language": 257})");
    EXPECT_EQ(harness.start().State.UiLanguage, 1);
}

TEST_F(StartupTest, ALanguageOfTheWrongTypeStopsTheStartAndLeavesTheFileAlone) {
    for (const QByteArray& settings :
         {QByteArray(R"({"Language": "1"})"), QByteArray(R"({"Language": 0, "COM-Port": "3"})"),
          QByteArray(R"({"Language": 0,)")}) {
        home.writeSettings(settings);
        EXPECT_THROW(harness.start(), SettingsError) << settings.constData();
        EXPECT_EQ(home.readSettings(), settings);
    }
}

TEST_F(StartupTest, TheWindowStartsInItsInitialState) {
    home.writeSettings(R"({"Language": 0})");
    TMainForm& form = harness.start();
    const MainControls& ui = form.ui;

    EXPECT_EQ(form.windowTitle(), QStringLiteral("KYR Varnel 5.3.6"));
    EXPECT_FALSE(ui.ParameterPage->isEnabled());
    EXPECT_FALSE(form.Parameters->ui.SensorInfo.EEPROMUpdateButton->isEnabled());
    EXPECT_FALSE(ui.RestoreFactorySettings1->isEnabled());
    EXPECT_FALSE(ui.FileOpenItem->isEnabled());
    EXPECT_FALSE(ui.FileSaveAsItem->isEnabled());
    EXPECT_TRUE(ui.Print->isVisible());
    EXPECT_TRUE(ui.Print->isEnabled());
    EXPECT_FALSE(ui.FirmwareUpdate->isVisible());
    EXPECT_FALSE(ui.FirmwareUpdateSeparator->isVisible());
    EXPECT_FALSE(ui.HelpContentsItem->isVisible());
    EXPECT_EQ(ui.StatusLED->colour(), StatusLamp::Red);
    EXPECT_EQ(ui.StatusText->text(), QStringLiteral("Trying to detect SSI-Sensor"));

    EXPECT_EQ(form.State.LastFactoryNumber, QStringLiteral("XXXXXXXX"));
    EXPECT_FALSE(form.State.SensorOnline);
    EXPECT_FALSE(form.State.ParametersChanged);
    EXPECT_FALSE(form.State.ViewRefreshing);
    EXPECT_EQ(form.State.MissedPolls, 0u);
    EXPECT_TRUE(form.State.SensorTypeText.isEmpty());
    EXPECT_EQ(ui.ParameterPage->currentWidget(),
              ui.ParameterPage->page(QStringLiteral("SSISettings")));
    EXPECT_FALSE(ui.ParameterPage->isPageTabVisible(QStringLiteral("Firmware")));
}

TEST_F(StartupTest, TheWindowIsShownAfterHalfASecondAndShowingItStartsThePoll) {
    home.writeSettings(R"({"Language": 0, "COM-Port": 0})");
    TMainForm& form = harness.create();
    EXPECT_FALSE(form.Timer1->isActive());
    const int64_t before = harness.clock.now();
    harness.start();
    TMainForm& started = harness.form();

    EXPECT_GE(harness.clock.now() - before, 500);
    EXPECT_TRUE(started.isVisible());
    EXPECT_TRUE(started.Timer1->isActive());
    EXPECT_EQ(started.Timer1->interval(), 200);
    EXPECT_FALSE(harness.settings.isOpen());
    for (QWidget* window : QApplication::topLevelWidgets()) {
        EXPECT_EQ(qobject_cast<TAboutForm*>(window), nullptr) << "the splash is left";
    }
}

TEST_F(StartupTest, AStoredDemoPortOpensNoDevice) {
    home.writeSettings(R"({"Language": 0, "COM-Port": 0})");
    TMainForm& form = harness.start();
    ASSERT_TRUE(form.SensorLinkOpened());
    EXPECT_EQ(form.State.PortNumber, 0);
    EXPECT_TRUE(form.SensorLink.IsDemo());
    EXPECT_FALSE(harness.serial.isOpen());
}

TEST_F(StartupTest, TheStoredPortIsOpenedOnTheCommandLink) {
    home.writeSettings(R"({"Language": 0, "COM-Port": 1})");
    TMainForm& form = harness.start();
    EXPECT_EQ(form.State.PortNumber, 1);
    EXPECT_EQ(form.SensorLink.PortNumber(), 1);
    EXPECT_TRUE(harness.serial.isOpen());
}

TEST(SplashFade, RaisesTheOpacityFromOneInStepsOfFourAndStopsBelowFull) {
    std::vector<int> expected;
    for (int step = 0; step < 64; ++step)
        expected.push_back(1 + 4 * step);
    EXPECT_EQ(SplashFadeLevels(), expected);
    EXPECT_EQ(expected.back(), 253);

    TAboutForm splash;
    std::vector<int> applied;
    QObject::connect(&splash, &TAboutForm::opacityLevelChanged,
                     [&applied](int level) { applied.push_back(level); });
    SplashFade(splash);

    ASSERT_EQ(applied.size(), 65u);
    EXPECT_EQ(applied.front(), 0);
    EXPECT_EQ(std::vector<int>(applied.begin() + 1, applied.end()), expected);
    EXPECT_TRUE(splash.isVisible());
    EXPECT_NEAR(splash.windowOpacity(), 253.0 / 255.0, 0.005);
    EXPECT_TRUE(splash.CloseLabel->isHidden());
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
}

}  // namespace
