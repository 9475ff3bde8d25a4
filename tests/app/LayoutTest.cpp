#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QTabBar>

#include "app/MainControls.h"
#include "params/ParameterPages.h"
#include "support/FormHarness.h"
#include "support/GuiTestEnvironment.h"
#include "ui/LanguageApplier.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/PageControl.h"

namespace {

QString describe(const QWidget& widget, const QString& text) {
    return widget.objectName() + QStringLiteral(" \"") + text + QStringLiteral("\"");
}

// The width that a text with line breaks and mnemonics needs in the widget's font.
int textWidth(const QWidget& widget, const QString& text) {
    return widget.fontMetrics().boundingRect(QRect(), Qt::TextShowMnemonic, text).width();
}

// Texts of the visible controls that their controls cut off.
QStringList clippedTexts(QWidget& area) {
    QStringList clipped;
    for (QWidget* widget : area.findChildren<QWidget*>()) {
        if (!widget->isVisible())
            continue;
        if (auto* label = qobject_cast<QLabel*>(widget); label && label->pixmap().isNull()) {
            if (!label->wordWrap() &&
                textWidth(*label, label->text()) > label->contentsRect().width())
                clipped << describe(*label, label->text());
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            const bool inside = button->parentWidget()->rect().contains(button->geometry());
            if (!button->text().isEmpty() &&
                (button->sizeHint().width() > button->width() || !inside))
                clipped << describe(*button, button->text());
        } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
            if (textWidth(*box, box->title()) + 16 > box->width())
                clipped << describe(*box, box->title());
        }
    }
    return clipped;
}

QStringList clippedTabs(PageControl& pages) {
    QStringList clipped;
    QTabBar* bar = pages.findChild<QTabBar*>();
    int used = 0;
    for (int i = 0; i < bar->count(); ++i) {
        if (bar->isTabVisible(i))
            used += bar->tabRect(i).width();
    }
    if (used > bar->width())
        clipped << QStringLiteral("tabs need %1 of %2 pixels").arg(used).arg(bar->width());
    return clipped;
}

// The widest texts that the refresh and the poll put into the information box.
void showLongestValues(const params::SensorInformationControls& ui) {
    ui.InfoLabel1->setText(QStringLiteral("K-Series SSI (KBF)"));
    ui.InfoLabel2->setText(QStringLiteral("32500mm"));
    ui.InfoLabel3->setText(QStringLiteral("WWWWWWWW"));
    ui.InfoLabel4->setText(QStringLiteral("2147483646 cm/s"));
    ui.InfoLabel5->setText(QStringLiteral("16383µs"));
    ui.InfoLabel6->setText(QStringLiteral("396-06-09"));
    ui.Label5->setText(QStringLiteral("Min. Meßzykluszeit:"));
}

TEST(Layout, EveryControlThatTheTextsNameExists) {
    TempHome home;
    FormHarness harness;
    EXPECT_EQ(missingTextControls(harness.create()).join(u'|').toStdString(), "");
}

struct LayoutCase {
    const char* name;
    QByteArray settings;
    const char* sensorType;
};

class LayoutTest : public testing::TestWithParam<LayoutCase> {
protected:
    TempHome home;
    FormHarness harness;
};

// Every page in turn, in both languages and at the developer level, where every control shows.
TEST_P(LayoutTest, NoTextIsCutOff) {
    home.writeSettings(GetParam().settings);
    TMainForm& form = harness.start();
    form.State.SensorTypeText = QString::fromLatin1(GetParam().sensorType);
    form.ApplyLanguage();
    showLongestValues(form.Parameters->ui.SensorInfo);
    PageControl& pages = *form.ui.ParameterPage;
    const QString shots = qEnvironmentVariable("VARNEL_SCREENSHOT_DIR");

    EXPECT_EQ(clippedTabs(pages).join(u'|').toStdString(), "");
    for (int i = 0; i < pages.count(); ++i) {
        pages.setCurrentIndex(i);
        QCoreApplication::processEvents();
        EXPECT_EQ(clippedTexts(form).join(u'|').toStdString(), "")
            << pages.widget(i)->objectName().toStdString();
        if (!shots.isEmpty()) {
            QDir().mkpath(shots);
            form.grab().save(QStringLiteral("%1/%2-%3.png")
                                 .arg(shots, QString::fromLatin1(GetParam().name),
                                      pages.widget(i)->objectName()));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Languages, LayoutTest,
    testing::Values(
        LayoutCase{"english", R"({"Language": 0, "COM-Port": 0, "FactoryKey": "5820463917305286"})",
                   ""},
        LayoutCase{"german", R"({"Language": 1, "COM-Port": 0, "FactoryKey": "5820463917305286"})",
                   ""},
        LayoutCase{"english_kbf",
                   R"({"Language": 0, "COM-Port": 0, "FactoryKey": "5820463917305286"})", "KBF"},
        LayoutCase{"german_kbf",
                   R"({"Language": 1, "COM-Port": 0, "FactoryKey": "5820463917305286"})", "KBF"}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

}  // namespace
