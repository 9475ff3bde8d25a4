#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "app/Comportselect.h"
#include "support/GuiTestEnvironment.h"

namespace {

std::vector<app::PortEntry> Entries() {
    return {{0, {}}, {1, "/dev/ttyUSB0"}, {3, "/dev/ttyUSB2"}, {12, "/dev/pts/sim"}};
}

struct Dialog {
    explicit Dialog(uint8_t language = 0) : form(Entries(), language) {}
    QListWidget& list() { return *form.findChild<QListWidget*>("ComListe"); }
    QPushButton& button(const char* name) { return *form.findChild<QPushButton*>(name); }
    QListWidgetItem* entry(const char* text) {
        return list().findItems(QString::fromLatin1(text), Qt::MatchExactly).value(0);
    }

    TComPortSelectForm form;
};

TEST(PortDialog, ListsDemoAndThePortsWithTheirDevicePaths) {
    Dialog dialog;
    ASSERT_EQ(dialog.list().count(), 4);
    EXPECT_EQ(dialog.list().item(0)->text(), "Demo");
    EXPECT_EQ(dialog.list().item(1)->text(), "COM 1");
    EXPECT_EQ(dialog.list().item(3)->text(), "COM 12");
    EXPECT_EQ(dialog.list().item(3)->toolTip(), "/dev/pts/sim");
    EXPECT_TRUE(dialog.list().item(0)->toolTip().isEmpty());
    EXPECT_EQ(dialog.list().currentRow(), -1);
    EXPECT_EQ(dialog.list().toolTip(), "Select the COM-Port where the programmer is located");
    EXPECT_EQ(dialog.form.windowTitle(), "Varnel");
    EXPECT_EQ(dialog.form.findChild<QLabel*>("Label1")->text(),
              "Please select an available COM-Port for the KYR-Varnel");
    EXPECT_EQ(dialog.button("Connect").text(), "&Connect");
    EXPECT_EQ(dialog.button("Quit").text(), "&Quit");
}

TEST(PortDialog, GermanTexts) {
    Dialog dialog(1);
    EXPECT_EQ(dialog.form.findChild<QLabel*>("Label1")->text(),
              QStringLiteral("Bitte wählen sie den COM-Port für den Varnel aus"));
    EXPECT_EQ(dialog.button("Connect").text(), "&Verbinden");
    EXPECT_EQ(dialog.button("Quit").text(), "&Abbrechen");
}

TEST(PortDialog, ConnectWaitsForAChoice) {
    Dialog dialog;
    EXPECT_FALSE(dialog.button("Connect").isEnabled());
    EXPECT_EQ(dialog.form.Choice(), app::NoChoice);
    dialog.form.ConnectClick();
    EXPECT_EQ(dialog.form.result(), 0);

    dialog.form.ComListeClick(dialog.entry("COM 12"));
    EXPECT_EQ(dialog.form.Choice(), 12);
    EXPECT_TRUE(dialog.button("Connect").isEnabled());
    dialog.form.ComListeClick(nullptr);
    EXPECT_EQ(dialog.form.Choice(), 12);
    dialog.button("Connect").click();
    EXPECT_EQ(dialog.form.result(), TComPortSelectForm::ConnectResult);
}

TEST(PortDialog, DoubleClickConnectsAndQuitCancels) {
    Dialog chosen;
    chosen.form.ComListeDblClick(chosen.entry("Demo"));
    EXPECT_EQ(chosen.form.Choice(), TSerialCom::DemoPort);
    EXPECT_EQ(chosen.form.result(), TComPortSelectForm::ConnectResult);

    Dialog quit;
    quit.form.ComListeClick(quit.entry("COM 3"));
    quit.button("Quit").click();
    EXPECT_EQ(quit.form.result(), TComPortSelectForm::QuitResult);
}

}  // namespace
