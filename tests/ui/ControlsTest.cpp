#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "platform/Clock.h"
#include "platform/ComPortMap.h"
#include "support/GuiTestEnvironment.h"
#include "support/NullSerialBackend.h"
#include "support/ScriptedDialogs.h"
#include "ui/MainState.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/EditorContract.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/PageControl.h"
#include "ui/controls/RadioGroup.h"
#include "ui/controls/ViewRefreshScope.h"

namespace {

QColor fieldBackground(LabeledEdit& edit) {
    return edit.field().palette().color(QPalette::Base);
}

TEST(LabeledEdit, RunsTheLiveHandlerForEveryTextChangeIncludingFromCode) {
    LabeledEdit edit(QStringLiteral("BitWidth"));
    QSignalSpy live(&edit, &LabeledEdit::textChanged);

    edit.setText(QStringLiteral("24"));
    edit.setText(QStringLiteral("24"));
    QTest::keyClick(&edit.field(), Qt::Key_5);

    ASSERT_EQ(live.count(), 2);
    EXPECT_EQ(live.at(0).at(0).toString(), QStringLiteral("24"));
    EXPECT_EQ(live.at(1).at(0).toString(), QStringLiteral("245"));
    EXPECT_EQ(edit.objectName(), QStringLiteral("BitWidth"));
}

TEST(LabeledEdit, RunsTheExitHandlerOnlyWhenTheFocusMovesToAnotherControl) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new LabeledEdit(QStringLiteral("ErrorCount"), &window);
    auto* other = new QLineEdit(&window);
    layout->addWidget(edit);
    layout->addWidget(other);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QSignalSpy exited(edit, &LabeledEdit::exited);

    edit->focusField();
    QFocusEvent windowDeactivated(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(&edit->field(), &windowDeactivated);
    EXPECT_EQ(exited.count(), 0);

    other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(exited.count(), 1);
}

TEST(LabeledEdit, KeepsCaptionReadOnlyStateAndColour) {
    LabeledEdit edit(QStringLiteral("Scale"));
    edit.setCaption(QStringLiteral("Scale: "));
    edit.setReadOnly(true);
    EXPECT_EQ(edit.caption(), QStringLiteral("Scale: "));
    EXPECT_TRUE(edit.field().isReadOnly());

    EXPECT_EQ(fieldBackground(edit), QColor(Qt::white));
    edit.setColour(FieldColour::Highlight);
    EXPECT_EQ(fieldBackground(edit), QColor(0xA6, 0xCA, 0xF0));
    EXPECT_EQ(edit.colour(), FieldColour::Highlight);
    edit.setColour(FieldColour::ButtonFace);
    EXPECT_EQ(fieldBackground(edit), QApplication::palette().color(QPalette::Button));
}

class RadioGroupTest : public testing::Test {
protected:
    RadioGroupTest()
        : group(QStringLiteral("FilterS")), spy(&group, &RadioGroup::itemIndexChanged) {
        group.setItems({QStringLiteral("no Filter"), QStringLiteral("Grade 2"),
                        QStringLiteral("Grade 4"), QStringLiteral("Grade 8")});
    }

    QRadioButton* button(int index) { return group.findChildren<QRadioButton*>().at(index); }

    RadioGroup group;
    QSignalSpy spy;
};

TEST_F(RadioGroupTest, StartsWithoutASelection) {
    EXPECT_EQ(group.itemIndex(), -1);
    EXPECT_EQ(group.count(), 4);
    EXPECT_EQ(spy.count(), 0);
}

TEST_F(RadioGroupTest, AnIndexSetFromCodeRunsTheHandlerAndTheSameIndexRunsNothing) {
    group.setItemIndex(2);
    group.setItemIndex(2);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 2);
    EXPECT_TRUE(button(2)->isChecked());
}

TEST_F(RadioGroupTest, AClickSelectsAndRunsTheHandler) {
    group.show();
    QTest::mouseClick(button(3), Qt::LeftButton);
    EXPECT_EQ(group.itemIndex(), 3);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 3);
}

TEST_F(RadioGroupTest, MinusOneClearsTheSelection) {
    group.setItemIndex(1);
    group.setItemIndex(-1);
    EXPECT_EQ(group.itemIndex(), -1);
    for (QRadioButton* shown : group.findChildren<QRadioButton*>())
        EXPECT_FALSE(shown->isChecked());
    EXPECT_EQ(spy.count(), 2);
}

TEST_F(RadioGroupTest, NewItemsKeepAnIndexInRangeAndDropOneBeyond) {
    group.setItemIndex(1);
    group.setItems({QStringLiteral("kein Filter"), QStringLiteral("Grad 2"),
                    QStringLiteral("Grad 4"), QStringLiteral("Grad 8")});
    EXPECT_EQ(group.itemIndex(), 1);
    EXPECT_EQ(group.items().at(1), QStringLiteral("Grad 2"));
    EXPECT_EQ(spy.count(), 1);

    group.setItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                    QStringLiteral("d"), QStringLiteral("e"), QStringLiteral("f"),
                    QStringLiteral("g"), QStringLiteral("h")});
    EXPECT_EQ(group.itemIndex(), 1);
    EXPECT_TRUE(button(1)->isChecked());

    group.setItemIndex(6);
    group.setItems(
        {QStringLiteral("1 Stage"), QStringLiteral("3 Stages"), QStringLiteral("6 Stages")});
    EXPECT_EQ(group.itemIndex(), -1);
    EXPECT_EQ(spy.count(), 3);
    EXPECT_EQ(spy.at(2).at(0).toInt(), -1);
}

TEST_F(RadioGroupTest, AnIndexOutOfRangeSelectsNothing) {
    group.setItemIndex(2);
    group.setItemIndex(7);
    EXPECT_EQ(group.itemIndex(), -1);
}

TEST_F(RadioGroupTest, IsPaintedInTheHighlightColour) {
    group.setColour(FieldColour::Highlight);
    EXPECT_EQ(group.palette().color(QPalette::Window), QColor(0xA6, 0xCA, 0xF0));
    EXPECT_TRUE(group.autoFillBackground());
}

TEST(CheckBox, AMarkSetFromCodeRunsTheHandlerAndTheSameMarkRunsNothing) {
    CheckBox box(QStringLiteral("Siemens"));
    QSignalSpy changed(&box, &CheckBox::changed);
    box.setChecked(true);
    box.setChecked(true);
    box.setChecked(false);
    ASSERT_EQ(changed.count(), 2);
    EXPECT_TRUE(changed.at(0).at(0).toBool());
    EXPECT_FALSE(changed.at(1).at(0).toBool());
}

class EditorContractTest : public testing::Test {
protected:
    ScriptedDialogs dialogs;
    MainState state{dialogs};
    platform::VirtualClock clock;
    NullSerialBackend serial;
    platform::ComPortMap ports;
    TSSICom sensor{serial, clock, ports};
    EditorContract contract{state, sensor};
    RadioGroup group{QStringLiteral("Direction")};
    LabeledEdit edit{QStringLiteral("BitWidth")};
    int choiceRuns = 0;
    int liveRuns = 0;
    int exitRuns = 0;

    void SetUp() override {
        group.setItems({QStringLiteral("forward"), QStringLiteral("reverse")});
        contract.bindChoice(group, [this](int) { ++choiceRuns; });
        contract.bindEdit(
            edit, [this](const QString&) { ++liveRuns; }, [this] { ++exitRuns; });
    }
};

TEST_F(EditorContractTest, TheRefreshSilencesHandlersUntilItEnds) {
    {
        ViewRefreshScope refresh(state.ViewRefreshing);
        group.setItemIndex(1);
        edit.setText(QStringLiteral("7"));
    }
    EXPECT_FALSE(state.ViewRefreshing);
    EXPECT_EQ(choiceRuns + liveRuns, 0);

    group.setItemIndex(0);
    edit.setText(QStringLiteral("8"));
    EXPECT_EQ(choiceRuns, 1);
    EXPECT_EQ(liveRuns, 1);
}

TEST_F(EditorContractTest, ControlSettingsSwallowsExactlyOneChoiceEvent) {
    state.ControlSettings = true;
    edit.setText(QStringLiteral("7"));
    EXPECT_EQ(liveRuns, 1) << "an edit field does not test ControlSettings";
    group.setItemIndex(1);
    EXPECT_EQ(choiceRuns, 0);
    EXPECT_FALSE(state.ControlSettings);

    group.setItemIndex(0);
    EXPECT_EQ(choiceRuns, 1);
}

TEST_F(EditorContractTest, TheRefreshLeavesControlSettingsForTheNextUserChange) {
    state.ControlSettings = true;
    {
        ViewRefreshScope refresh(state.ViewRefreshing);
        group.setItemIndex(1);
    }
    EXPECT_TRUE(state.ControlSettings);
}

TEST_F(EditorContractTest, TheExitHandlerRunsOnlyWhileTheSensorIsOnline) {
    emit edit.exited();
    state.SensorOnline = true;
    emit edit.exited();
    EXPECT_EQ(exitRuns, 1);
}

TEST_F(EditorContractTest, ARefusedExitNamesTheRangeAndHoldsTheDisconnectWarning) {
    state.MissedPolls = 3;
    contract.finishExit(edit, true, mainmessages::Id::BadBitWidth);
    EXPECT_EQ(state.MissedPolls, 0u);
    EXPECT_TRUE(dialogs.messages.empty());

    state.UiLanguage = 1;
    contract.finishExit(edit, false, mainmessages::Id::BadBitWidth);
    EXPECT_EQ(state.MissedPolls, 65535u);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("Bitte geben Sie eine gültige Bitbreite ein (1..32)"));
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Parameter out of range"));
}

TEST(PageControl, NamesPagesAndHidesOnlyTheirTabs) {
    PageControl pages(QStringLiteral("ParameterPage"));
    QWidget* first = pages.addPage(QStringLiteral("SSISettings"));
    QWidget* firmware = pages.addPage(QStringLiteral("Firmware"));
    pages.setPageCaption(QStringLiteral("Firmware"), QStringLiteral("Software"));
    pages.setPageHint(QStringLiteral("Firmware"), QStringLiteral("Software update"));

    EXPECT_EQ(pages.page(QStringLiteral("SSISettings")), first);
    EXPECT_EQ(pages.tabText(1), QStringLiteral("Software"));
    EXPECT_EQ(pages.tabToolTip(1), QStringLiteral("Software update"));

    pages.setPageTabVisible(QStringLiteral("Firmware"), false);
    EXPECT_FALSE(pages.isTabVisible(1));
    pages.showPage(QStringLiteral("Firmware"));
    EXPECT_EQ(pages.currentWidget(), firmware);
}

}  // namespace
