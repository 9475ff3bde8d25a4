#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "settings/Settings.h"
#include "app/controls/CheckBox.h"
#include "app/controls/LabeledEdit.h"
#include "app/controls/PageControl.h"
#include "support/FormHarness.h"
#include "support/GuiTestEnvironment.h"

namespace {

// What the access table decides, read back from the window.
struct Shown {
    bool expertPages, firmwarePage, slowAverage, syncStart, sampleCycle, operatingTime, tempComp,
        qSeries, factorEditable;
    bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Shown& s) {
    return out << "expert " << s.expertPages << " firmware " << s.firmwarePage << " slow "
               << s.slowAverage << " sync " << s.syncStart << " sample " << s.sampleCycle
               << " optime " << s.operatingTime << " tempcomp " << s.tempComp << " q " << s.qSeries
               << " factor " << s.factorEditable;
}

bool allShown(std::initializer_list<QWidget*> widgets, bool shown) {
    for (QWidget* widget : widgets) {
        if (widget->isHidden() == shown)
            return false;
    }
    return true;
}

Shown shownControls(const MainControls& ui) {
    const bool expert1 = ui.ParameterPage->isPageTabVisible(QStringLiteral("ExpertSettings"));
    const bool expert2 = ui.ParameterPage->isPageTabVisible(QStringLiteral("ExpertSettings2"));
    EXPECT_EQ(expert1, expert2);
    const bool opTime = !ui.Label7->isHidden();
    EXPECT_TRUE(allShown(
        {ui.OpTimeYears, ui.OpTimeMonth, ui.OpTimeDays, ui.OpTimeHours, ui.OpTimeMinutes}, opTime));
    return {expert1,
            ui.ParameterPage->isPageTabVisible(QStringLiteral("Firmware")),
            !ui.SlowAvarageFilter->isHidden(),
            !ui.SSI_Start_CheckBox->isHidden(),
            !ui.SSI_Abstand->isHidden(),
            opTime,
            !ui.TempComp->isHidden(),
            !ui.Q_SERIE->isHidden(),
            !ui.FactorLabel->isReadOnly()};
}

constexpr Shown UserShows{false, false, false, false, false, false, false, false, false};
constexpr Shown FactoryShows{true, true, true, false, false, false, false, false, false};
constexpr Shown DeveloperShows{true, true, true, true, true, true, true, true, true};

class AccessLevelTest : public testing::Test {
protected:
    TempHome home;
    FormHarness harness;

    TMainForm& startWith(const QByteArray& factoryKeyJson) {
        home.writeSettings(R"({"Language": 0, )" + factoryKeyJson + "}");
        return harness.start();
    }
};

TEST_F(AccessLevelTest, WithoutAKeyTheUserSeesNoneOfTheTable) {
    home.writeSettings(R"({"Language": 0})");
    TMainForm& form = harness.start();
    EXPECT_EQ(form.AccessLevel, TAccessLevel::User);
    EXPECT_EQ(shownControls(form.ui), UserShows);
}

TEST_F(AccessLevelTest, TheFactoryCodeShowsTheExpertAndFirmwarePagesAndTheSlowFilter) {
    TMainForm& form = startWith(R"("FactoryKey": "731846205913")");
    EXPECT_EQ(form.AccessLevel, TAccessLevel::Factory);
    EXPECT_EQ(shownControls(form.ui), FactoryShows);
}

TEST_F(AccessLevelTest, TheDeveloperCodeShowsEveryControlOfTheTable) {
    TMainForm& form = startWith(R"("FactoryKey": "5820463917305286")");
    EXPECT_EQ(form.AccessLevel, TAccessLevel::Developer);
    EXPECT_EQ(shownControls(form.ui), DeveloperShows);
}

TEST_F(AccessLevelTest, ACodeWithABlankOrAnotherCaseGivesTheUserLevel) {
    for (const char* key : {R"(" 731846205913")", R"("731846205913 ")", R"("5820463917305286 ")",
                            R"("73184620591")", R"("")"}) {
        home.writeSettings(QByteArray(R"({"Language": 0, "FactoryKey": )") + key + "}");
        TMainForm& form = harness.start();
        EXPECT_EQ(form.AccessLevel, TAccessLevel::User) << key;
        EXPECT_EQ(shownControls(form.ui), UserShows) << key;
        EXPECT_TRUE(harness.dialogs.messages.empty());
    }
}

TEST_F(AccessLevelTest, ASubkeyNamedFactoryKeyBlocksTheLookup) {
    // JSON cannot hold a value and a subkey of one name; the subkey alone must block a
    // code that sits inside it.
    TMainForm& form = startWith(R"("FactoryKey": {"FactoryKey": "5820463917305286"})");
    EXPECT_EQ(form.AccessLevel, TAccessLevel::User);
    EXPECT_EQ(shownControls(form.ui), UserShows);
}

TEST_F(AccessLevelTest, ACodeStoredAsANumberIsATypeErrorThatLeavesTheFileAlone) {
    const QByteArray settings = R"({"Language": 0, "FactoryKey": 731846205913})";
    home.writeSettings(settings);
    EXPECT_THROW(harness.start(), SettingsError);
    EXPECT_EQ(home.readSettings(), settings);
}

}  // namespace
