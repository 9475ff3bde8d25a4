#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <map>

#include "support/FormHarness.h"
#include "support/GuiTestEnvironment.h"
#include "ui/LanguageApplier.h"
#include "ui/MainTexts.h"
#include "ui/controls/Hint.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/PageControl.h"
#include "ui/controls/RadioGroup.h"

namespace {

using maintexts::Element;

QString hintShown(const QObject& object) {
    if (auto* action = qobject_cast<const QAction*>(&object))
        return hintOf(*action);
    if (auto* menu = qobject_cast<const QMenu*>(&object))
        return hintOf(*menu->menuAction());
    return hintOf(*qobject_cast<const QWidget*>(&object));
}

QString captionShown(const QObject& object) {
    if (auto* action = qobject_cast<const QAction*>(&object))
        return action->text();
    if (auto* menu = qobject_cast<const QMenu*>(&object))
        return menu->title();
    if (auto* box = qobject_cast<const QGroupBox*>(&object))
        return box->title();
    if (auto* button = qobject_cast<const QAbstractButton*>(&object))
        return button->text();
    return qobject_cast<const QLabel*>(&object)->text();
}

// What the window shows for a control's element, read back independently of the applier.
QString shown(TMainForm& form, const char* control, Element element) {
    const QString name = QString::fromLatin1(control);
    PageControl& pages = *form.ui.ParameterPage;
    if (pages.page(name) != nullptr) {
        return element == Element::Hint ? pages.pageHint(name) : pages.pageCaption(name);
    }
    const QObject* object = form.findChild<QObject*>(name);
    if (object == nullptr)
        return QStringLiteral("<no control>");
    switch (element) {
        case Element::Caption:
            return captionShown(*object);
        case Element::Label:
            return qobject_cast<const LabeledEdit*>(object)->caption();
        case Element::Items:
            return qobject_cast<const RadioGroup*>(object)->items().join(QLatin1Char('\n'));
        case Element::Hint:
            break;
    }
    return hintShown(*object);
}

using Snapshot = std::map<std::pair<QString, Element>, QString>;

class LanguageWindowTest : public testing::Test {
protected:
    TempHome home;
    FormHarness harness;
    TMainForm& form = harness.create();

    void apply(uint8_t language, const char* sensorType = "") {
        form.State.UiLanguage = language;
        form.State.SensorTypeText = QString::fromLatin1(sensorType);
        form.ApplyLanguage();
    }
    QAction& action(const char* name) { return *form.findChild<QAction*>(name); }
    RadioGroup& chargepump() { return *form.findChild<RadioGroup*>("ChargepumpStages"); }
    QWidget& model() { return *form.findChild<QWidget*>("Model"); }
    QString hint(const char* name) { return shown(form, name, Element::Hint); }

    Snapshot snapshot() {
        Snapshot texts;
        for (const auto& entry : maintexts::catalogue()) {
            texts[{entry.control, entry.element}] = shown(form, entry.control, entry.element);
        }
        for (const auto& entry : maintexts::chargepumpGroup(QString()).texts) {
            texts[{entry.control, entry.element}] = shown(form, entry.control, entry.element);
        }
        return texts;
    }
};

TEST_F(LanguageWindowTest, TheWindowHasAControlForEveryText) {
    EXPECT_EQ(missingTextControls(form), QStringList());
}

TEST_F(LanguageWindowTest, EveryTextOfTheCatalogueShowsInBothLanguages) {
    for (const uint8_t language : {kUiGerman, kUiEnglish}) {
        apply(language);
        for (const auto& entry : maintexts::catalogue()) {
            if (const auto text = maintexts::textFor(entry, language)) {
                EXPECT_EQ(shown(form, entry.control, entry.element), *text)
                    << entry.control << " in language " << int(language);
            }
        }
    }
}

TEST_F(LanguageWindowTest, LayoutTextsStayInBothLanguages) {
    for (const uint8_t language : {kUiGerman, kUiEnglish}) {
        apply(language);
        for (const auto& entry : maintexts::layoutTexts()) {
            EXPECT_EQ(shown(form, entry.control, entry.element), QString::fromUtf8(entry.text))
                << entry.control << " in language " << int(language);
        }
    }
}

TEST_F(LanguageWindowTest, FileMenuAndCheckMarksAfterSwitchingToGerman) {
    action("English1").trigger();
    EXPECT_TRUE(action("English1").isChecked());
    EXPECT_FALSE(action("Deutsch1").isChecked());

    action("Deutsch1").trigger();
    EXPECT_EQ(form.ui.FileMenu->title(), QStringLiteral("D&atei"));
    EXPECT_EQ(action("FileOpenItem").text(), QStringLiteral("Öffnen..."));
    EXPECT_EQ(action("FileSaveAsItem").text(), QStringLiteral("Speichern unter..."));
    EXPECT_EQ(action("Print").text(), QStringLiteral("&Drucken..."));
    EXPECT_EQ(action("RestoreFactorySettings1").text(),
              QStringLiteral("Werkseinstellung wiederherstellen"));
    EXPECT_EQ(action("FileExitItem").text(), QStringLiteral("&Beenden"));
    EXPECT_EQ(action("FileExitItem").statusTip(), QStringLiteral("Beendet das Programm"));
    EXPECT_TRUE(action("Deutsch1").isChecked());
    EXPECT_FALSE(action("English1").isChecked());
    EXPECT_EQ(action("English1").text(), QStringLiteral("English"));
    EXPECT_EQ(action("Deutsch1").text(), QStringLiteral("Deutsch"));
}

TEST_F(LanguageWindowTest, TheToolkitsDialogsFollowTheWindowsLanguage) {
    const auto lookIn = [] { return QCoreApplication::translate("QFileDialog", "Look in:"); };
    apply(kUiGerman);
    EXPECT_EQ(lookIn(), QStringLiteral("Suchen in:"));
    apply(kUiGerman);
    EXPECT_EQ(lookIn(), QStringLiteral("Suchen in:"));
    apply(kUiEnglish);
    EXPECT_EQ(lookIn(), QStringLiteral("Look in:"));
    apply(kUiGerman);
    EXPECT_EQ(lookIn(), QStringLiteral("Suchen in:"));
}

TEST_F(LanguageWindowTest, TheEnglishEntrysHintIsSetOnlyInEnglish) {
    setHint(action("English1"), QStringLiteral("from the layout"));
    apply(kUiGerman);
    EXPECT_EQ(hint("English1"), QStringLiteral("from the layout"));
    apply(kUiEnglish);
    EXPECT_EQ(hint("English1"), QStringLiteral("Sets the language to english"));
    EXPECT_EQ(action("English1").toolTip(), QStringLiteral("Sets the language to english"));
    apply(kUiGerman);
    EXPECT_EQ(hint("English1"), QStringLiteral("Sets the language to english"));
    EXPECT_EQ(hint("Language1"), QStringLiteral("Wählen Sie die gewünschte Sprache"));
}

TEST_F(LanguageWindowTest, TheOriginButtonsHintIsTheLabelsHint) {
    apply(kUiGerman);
    EXPECT_EQ(hint("OriginButton"),
              QStringLiteral("Setzt den Nullpunkt an die aktuelle Magnetposition"));
    EXPECT_EQ(form.findChild<QWidget*>("OriginButton")->toolTip(), hint("OriginButton"));
    apply(kUiEnglish);
    EXPECT_EQ(hint("OriginButton"),
              QStringLiteral("Set the new origin to the current magnet position"));
    EXPECT_EQ(hint("OriginButton"), hint("OriginLabel"));
}

TEST_F(LanguageWindowTest, HintsAreToolTipsAndStatusTips) {
    apply(kUiEnglish);
    auto* bitWidth = form.findChild<QWidget*>("BitWidth");
    EXPECT_EQ(bitWidth->toolTip(),
              QStringLiteral("Bit width [1-32 Bit]. Parity- & Errorbit not included"));
    EXPECT_EQ(bitWidth->statusTip(), bitWidth->toolTip());
    QAction* languageMenu = form.ui.Language1->menuAction();
    EXPECT_EQ(languageMenu->toolTip(),
              QStringLiteral("Lets you choose between different language versions"));
    EXPECT_EQ(form.ui.ParameterPage->pageHint(QStringLiteral("LinPage")),
              QStringLiteral("parameters for the \ninternal linearization"));
}

TEST_F(LanguageWindowTest, KbfGetsEightStagesAndHidesTheModelOtherTypesThree) {
    apply(kUiEnglish, "KBF");
    EXPECT_EQ(chargepump().count(), 8);
    EXPECT_EQ(chargepump().items().at(7), QStringLiteral("Stage 8 (0xE0)"));
    EXPECT_EQ(chargepump().caption(), QStringLiteral("Chargepump"));
    EXPECT_TRUE(hint("ChargepumpStages").startsWith("Regulates the current of the chargepump"));
    EXPECT_EQ(chargepump().height(), 180);
    EXPECT_TRUE(model().isHidden());

    apply(kUiGerman, "QH");
    EXPECT_EQ(chargepump().items(), QStringList({"1 Stufe", "3 Stufen", "6 Stufen"}));
    EXPECT_EQ(chargepump().caption(), QStringLiteral("Ladungspumpe"));
    EXPECT_TRUE(hint("ChargepumpStages").startsWith("Setzt die Anzahl der Ladungspumpenstufen."));
    EXPECT_EQ(chargepump().height(), 84);
    EXPECT_FALSE(model().isHidden());

    apply(kUiGerman, "KBF");
    EXPECT_EQ(chargepump().items().first(), QStringLiteral("Stufe 1 (0x00)"));
    EXPECT_EQ(chargepump().height(), 180);
    EXPECT_TRUE(model().isHidden());
}

TEST_F(LanguageWindowTest, NoSensorGetsTheThreeStageList) {
    apply(kUiEnglish, "KBF");
    apply(kUiEnglish, "");
    EXPECT_EQ(chargepump().items(), QStringList({"1 Stage", "3 Stages", "6 Stages"}));
    EXPECT_EQ(chargepump().height(), 84);
    EXPECT_FALSE(model().isHidden());
}

TEST_F(LanguageWindowTest, ChangingTheChoiceListKeepsTheChosenStage) {
    apply(kUiEnglish, "QH");
    chargepump().setItemIndex(2);
    apply(kUiGerman, "QH");
    EXPECT_EQ(chargepump().itemIndex(), 2);
}

TEST_F(LanguageWindowTest, AnotherLanguageValueOnlyRemovesTheCheckMarks) {
    apply(kUiGerman, "KBF");
    const Snapshot before = snapshot();
    apply(2, "QH");
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(chargepump().height(), 180);
    EXPECT_TRUE(model().isHidden());
    EXPECT_FALSE(action("English1").isChecked());
    EXPECT_FALSE(action("Deutsch1").isChecked());
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

TEST_F(LanguageWindowTest, TheParameterPagesAreRepaintedAtOnce) {
    form.show();
    form.Timer1->stop();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    PageControl& pages = *form.ui.ParameterPage;
    for (const char* name : maintexts::kRepaintedPages) {
        pages.showPage(QString::fromLatin1(name));
        QCoreApplication::processEvents();
        PaintCounter counter(*pages.page(QString::fromLatin1(name)));
        form.ApplyLanguage();
        EXPECT_GT(counter.count, 0) << name;
    }
}

TEST(LanguageApplier, ReportsTextsWithoutAControlThatCanShowThem) {
    QWidget window;
    auto* pages = new PageControl(QStringLiteral("ParameterPage"), &window);
    pages->addPage(QStringLiteral("SSISettings"));
    auto* label = new QLabel(&window);
    label->setObjectName(QStringLiteral("BitWidth"));
    new LabeledEdit(QStringLiteral("ErrorValue"), &window);

    const QStringList missing = missingTextControls(window);
    EXPECT_TRUE(missing.contains("FileMenu (caption)"));
    EXPECT_TRUE(missing.contains("BitWidth (label)"));
    EXPECT_TRUE(missing.contains("Model (items)"));
    EXPECT_TRUE(missing.contains("ErrorIndication (caption)"));
    EXPECT_FALSE(missing.contains("SSISettings (caption)"));
    EXPECT_FALSE(missing.contains("BitWidth (hint)"));
    EXPECT_FALSE(missing.contains("ErrorValue (label)"));
    EXPECT_FALSE(missing.contains("ErrorValue (hint)"));
}

}  // namespace
