#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "settings/Settings.h"
#include "support/FormHarness.h"
#include "support/GuiTestEnvironment.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/PageControl.h"

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

Shown shownControls(const TMainForm& form) {
    const PageControl& tabs = *form.ui.ParameterPage;
    const auto& pages = form.Parameters->ui;
    const auto& errors = pages.ErrorIndication;
    const bool expert1 = tabs.isPageTabVisible(QStringLiteral("ExpertSettings"));
    const bool expert2 = tabs.isPageTabVisible(QStringLiteral("ExpertSettings2"));
    EXPECT_EQ(expert1, expert2);
    const bool opTime = !errors.Label7->isHidden();
    EXPECT_TRUE(allShown({errors.OpTimeYears, errors.OpTimeMonth, errors.OpTimeDays,
                          errors.OpTimeHours, errors.OpTimeMinutes},
                         opTime));
    return {expert1,
            tabs.isPageTabVisible(QStringLiteral("Firmware")),
            !pages.Measurement.SlowAvarageFilter->isHidden(),
            !pages.SSISettings.SSI_Start_CheckBox->isHidden(),
            !pages.SSISettings.SSI_Abstand->isHidden(),
            opTime,
            !pages.Measurement2.TempComp->isHidden(),
            !pages.ExpertSettings.Q_SERIE->isHidden(),
            !form.Linearization->ui.FactorLabel->isReadOnly()};
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
    EXPECT_EQ(form.State.AccessLevel, TAccessLevel::User);
    EXPECT_EQ(shownControls(form), UserShows);
}

TEST_F(AccessLevelTest, TheFactoryCodeShowsTheExpertAndFirmwarePagesAndTheSlowFilter) {
    TMainForm& form = startWith(R"("FactoryKey": "731846205913")");
    EXPECT_EQ(form.State.AccessLevel, TAccessLevel::Factory);
    EXPECT_EQ(shownControls(form), FactoryShows);
}

TEST_F(AccessLevelTest, TheDeveloperCodeShowsEveryControlOfTheTable) {
    TMainForm& form = startWith(R"("FactoryKey": "5820463917305286")");
    EXPECT_EQ(form.State.AccessLevel, TAccessLevel::Developer);
    EXPECT_EQ(shownControls(form), DeveloperShows);
}

TEST_F(AccessLevelTest, ACodeWithABlankOrAnotherCaseGivesTheUserLevel) {
    for (const char* key : {R"(" 731846205913")", R"("731846205913 ")", R"("5820463917305286 ")",
                            R"("73184620591")", R"("")"}) {
        home.writeSettings(QByteArray(R"({"Language": 0, "FactoryKey": )") + key + "}");
        TMainForm& form = harness.start();
        EXPECT_EQ(form.State.AccessLevel, TAccessLevel::User) << key;
        EXPECT_EQ(shownControls(form), UserShows) << key;
        EXPECT_TRUE(harness.dialogs.messages.empty());
    }
}

TEST_F(AccessLevelTest, ASubkeyNamedFactoryKeyBlocksTheLookup) {
    // JSON cannot hold a value and a subkey of one name; the subkey alone must block a
    // code that sits inside it.
    TMainForm& form = startWith(R"("FactoryKey": {"FactoryKey": "5820463917305286"})");
    EXPECT_EQ(form.State.AccessLevel, TAccessLevel::User);
    EXPECT_EQ(shownControls(form), UserShows);
}

TEST_F(AccessLevelTest, ACodeStoredAsANumberIsATypeErrorThatLeavesTheFileAlone) {
    const QByteArray settings = R"({"Language": 0, "FactoryKey": 731846205913})";
    home.writeSettings(settings);
    EXPECT_THROW(harness.start(), SettingsError);
    EXPECT_EQ(home.readSettings(), settings);
}

}  // namespace
