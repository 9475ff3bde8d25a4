#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <map>
#include <set>
#include <utility>

#include "app/Languagesel.h"
#include "comm/SensorRules.h"
#include "support/GuiTestEnvironment.h"
#include "ui/MainTexts.h"
#include "ui/Texts.h"

namespace {

using maintexts::Element;

TEST(PairedTexts, PickFollowsTheLanguageAndShowsNothingForOtherValues) {
    const TextPair pair{QStringLiteral("Error"), QStringLiteral("Fehler")};
    EXPECT_EQ(pick(kUiEnglish, pair), QStringLiteral("Error"));
    EXPECT_EQ(pick(kUiGerman, pair), QStringLiteral("Fehler"));
    EXPECT_EQ(pick(2, pair), std::nullopt);
    EXPECT_EQ(pick(255, pair), std::nullopt);
}

TEST(PairedTexts, AMessageIsPickedWithItsCaption) {
    const MessagePair& message = messages::communicationError();
    const auto english = pick(kUiEnglish, message);
    ASSERT_TRUE(english.has_value());
    EXPECT_EQ(english->text, QStringLiteral("Communication Error"));
    EXPECT_EQ(english->caption, QStringLiteral("Error"));
    const auto german = pick(kUiGerman, message);
    ASSERT_TRUE(german.has_value());
    EXPECT_EQ(german->text, QStringLiteral("Kommunikationsfehler"));
    EXPECT_EQ(german->caption, QStringLiteral("Fehler"));
    EXPECT_FALSE(pick(2, message).has_value());
}

TEST(PairedTexts, MessageBoxButtonsHaveTheProgramsOwnTexts) {
    using messages::Button;
    const std::pair<Button, TextPair> expected[] = {
        {Button::Ok, {"OK", "OK"}},
        {Button::Yes, {"&Yes", "&Ja"}},
        {Button::No, {"&No", "&Nein"}},
        {Button::Retry, {"&Retry", "&Wiederholen"}},
        {Button::Cancel, {"&Cancel", "&Abbrechen"}},
    };
    for (const auto& [button, texts] : expected) {
        EXPECT_EQ(messages::buttonText(button).en, texts.en);
        EXPECT_EQ(messages::buttonText(button).de, texts.de);
    }
}

TEST(TextCatalogue, EachControlAndElementHasOneEntry) {
    std::set<std::pair<QString, Element>> seen;
    for (const auto& entry : maintexts::catalogue()) {
        const bool added = seen.emplace(QString::fromLatin1(entry.control), entry.element).second;
        EXPECT_TRUE(added) << entry.control;
    }
}

TEST(TextCatalogue, OnlyTheEnglishMenuEntrysHintHasNoGermanText) {
    std::vector<QString> englishOnly;
    for (const auto& entry : maintexts::catalogue()) {
        ASSERT_NE(entry.english, nullptr) << entry.control;
        ASSERT_NE(*entry.english, '\0') << entry.control;
        if (entry.german == nullptr) {
            englishOnly.push_back(QString::fromLatin1(entry.control));
            EXPECT_EQ(entry.element, Element::Hint);
        }
    }
    EXPECT_EQ(englishOnly, std::vector<QString>{QStringLiteral("English1")});
}

TEST(TextCatalogue, TextForPicksTheColumnOfTheLanguage) {
    const auto entries = maintexts::catalogue();
    const auto fileMenu = std::find_if(entries.begin(), entries.end(), [](const auto& entry) {
        return QLatin1String(entry.control) == QLatin1String("FileMenu");
    });
    ASSERT_NE(fileMenu, entries.end());
    EXPECT_EQ(maintexts::textFor(*fileMenu, kUiEnglish), QStringLiteral("&File"));
    EXPECT_EQ(maintexts::textFor(*fileMenu, kUiGerman), QStringLiteral("D&atei"));
    EXPECT_EQ(maintexts::textFor(*fileMenu, 2), std::nullopt);
}

TEST(TextCatalogue, ChoiceListsHaveAsManyItemsInBothLanguages) {
    const std::map<QString, qsizetype> expected = {
        {"CodingGroup", 2}, {"Mode", 2}, {"FilterS", 4}, {"Direction", 2}, {"PosDifVel", 3}};
    std::map<QString, qsizetype> found;
    for (const auto& entry : maintexts::catalogue()) {
        if (entry.element != Element::Items)
            continue;
        const auto english = QString::fromUtf8(entry.english).split(QLatin1Char('\n'));
        const auto german = QString::fromUtf8(entry.german).split(QLatin1Char('\n'));
        EXPECT_EQ(english.size(), german.size()) << entry.control;
        found[QString::fromLatin1(entry.control)] = english.size();
    }
    EXPECT_EQ(found, expected);
}

TEST(ChargepumpGroup, OnlyKbfGetsTheEightStageListAndHidesTheModel) {
    const auto& kbf = maintexts::chargepumpGroup(QStringLiteral("KBF"));
    EXPECT_EQ(kbf.height, 180);
    EXPECT_FALSE(kbf.modelVisible);
    for (const char* type : {"", "QH", "QP", "KH", "BP", "kbf", "KBF ", "KB"}) {
        const auto& group = maintexts::chargepumpGroup(QString::fromLatin1(type));
        EXPECT_EQ(group.height, 84) << type;
        EXPECT_TRUE(group.modelVisible) << type;
        EXPECT_EQ(group.texts.data(), maintexts::chargepumpGroup(QString()).texts.data()) << type;
    }
    EXPECT_NE(kbf.texts.data(), maintexts::chargepumpGroup(QString()).texts.data());
}

QStringList chargepumpItems(const QString& sensorType, uint8_t language) {
    for (const auto& entry : maintexts::chargepumpGroup(sensorType).texts) {
        if (entry.element == Element::Items) {
            return maintexts::textFor(entry, language).value().split(QLatin1Char('\n'));
        }
    }
    return {};
}

TEST(ChargepumpGroup, StageListsInBothLanguages) {
    EXPECT_EQ(chargepumpItems(QStringLiteral("QH"), kUiEnglish),
              QStringList({"1 Stage", "3 Stages", "6 Stages"}));
    EXPECT_EQ(chargepumpItems(QStringLiteral("QH"), kUiGerman),
              QStringList({"1 Stufe", "3 Stufen", "6 Stufen"}));
    const QStringList english = chargepumpItems(QStringLiteral("KBF"), kUiEnglish);
    const QStringList german = chargepumpItems(QStringLiteral("KBF"), kUiGerman);
    ASSERT_EQ(english.size(), 8);
    ASSERT_EQ(german.size(), 8);
    EXPECT_EQ(english.first(), QStringLiteral("Stage 1 (0x00)"));
    EXPECT_EQ(english.last(), QStringLiteral("Stage 8 (0xE0)"));
    EXPECT_EQ(german[3], QStringLiteral("Stufe 4 (0xC0)"));
    for (int item = 0; item < 8; ++item) {
        const QString value = QString::asprintf("(0x%02X)", rules::ChargepumpValue(true, item));
        EXPECT_TRUE(english[item].endsWith(value)) << english[item].toStdString();
        EXPECT_TRUE(german[item].endsWith(value)) << german[item].toStdString();
    }
}

class LanguageSelectTest : public testing::Test {
protected:
    TLanguageSelect dialog;

    void SetUp() override {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }
    QPushButton& button(const char* name) {
        auto* found = dialog.findChild<QPushButton*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return *found;
    }
};

TEST_F(LanguageSelectTest, ShowsItsTextsInBothLanguagesAndNoTitleBarButtons) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Language Selection"));
    const auto labels = dialog.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.first()->text(), QStringLiteral("Please select your language:"));
    EXPECT_EQ(button("EnglishButton").text(), QStringLiteral("English"));
    EXPECT_EQ(button("DeutschButton").text(), QStringLiteral("Deutsch"));
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinMaxButtonsHint));
}

TEST_F(LanguageSelectTest, DeutschSelectsGermanAndCloses) {
    QTest::mouseClick(&button("DeutschButton"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(dialog.selectedLanguage(), kUiGerman);
}

TEST_F(LanguageSelectTest, EnglishSelectsEnglishAndCloses) {
    QTest::mouseClick(&button("EnglishButton"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(dialog.selectedLanguage(), kUiEnglish);
}

TEST_F(LanguageSelectTest, EscapeGivesEnglish) {
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.selectedLanguage(), kUiEnglish);
}

TEST_F(LanguageSelectTest, ClosingTheWindowGivesEnglish) {
    EXPECT_TRUE(dialog.close());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.selectedLanguage(), kUiEnglish);
}

}  // namespace
