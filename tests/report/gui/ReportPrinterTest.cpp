#include "report/gui/ReportPrinter.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

#include "report/gui/ReportDestination.h"
#include "support/FormHarness.h"
#include "support/GuiTestEnvironment.h"
#include "support/PdfText.h"
#include "support/TempHome.h"

namespace {

// A main window that shows the simulated QH sensor.
class ReportPrinterTest : public testing::Test {
protected:
    void SetUp() override {
        form = &harness.create();
        form->OpenSensorLink(1);
        form->IdleFunction();
        ASSERT_TRUE(form->State.SensorOnline);
        harness.dialogs.messages.clear();
    }

    // The destination dialog answers by clicking the named button.
    void choose(const char* button) {
        harness.dialogs.dialogScripts.push_back([button](QDialog& dialog) {
            dialog.findChild<QPushButton*>(QString::fromLatin1(button))->click();
            return dialog.result();
        });
    }
    QString pdfPath() const { return dir.filePath(QStringLiteral("report.pdf")); }
    std::string pdfText() const { return testsupport::PdfText(pdfPath().toStdString()); }

    TempHome home;
    QTemporaryDir dir;
    FormHarness harness;
    TMainForm* form = nullptr;
};

TEST_F(ReportPrinterTest, ThePrintCommandWritesTheSensorReportAsPdfInTheWindowsLanguage) {
    struct Case {
        uint8_t language;
        std::vector<const char*> texts;
    };
    for (const Case& c : {Case{0, {"Sensor report", "Q-Series SSI (QH)", "forward"}},
                          Case{1, {"Sensorbericht", "Länge", "vorwärts", "Auflösung"}}}) {
        SCOPED_TRACE(c.language);
        form->State.UiLanguage = c.language;
        QFile::remove(pdfPath());
        choose("ToPdf");
        harness.dialogs.fileNames.push_back(pdfPath());
        form->ui.Print->trigger();

        EXPECT_TRUE(harness.dialogs.messages.empty());
        EXPECT_EQ(harness.dialogs.fileRequests.back().defaultSuffix, "pdf");
        const std::string text = pdfText();
        EXPECT_NE(text.find(form->SensorLink[TSSICom::FactoryNumber].Reply), std::string::npos);
        for (const char* expected : c.texts)
            EXPECT_NE(text.find(expected), std::string::npos) << expected << " in:\n" << text;
    }
    EXPECT_EQ(harness.dialogs.dialogsShown,
              (std::vector<QString>{"ReportDestination", "ReportDestination"}));
}

TEST_F(ReportPrinterTest, AMissingTemplateIsNamedAndNothingIsAsked) {
    report::ReportPrinter printer(*form, form->State, form->SensorLink, ProgramTitle,
                                  dir.path().toStdString());
    printer.PrintClick();
    ASSERT_EQ(harness.dialogs.messages.size(), 1u);
    const Message& shown = harness.dialogs.messages.front();
    EXPECT_EQ(shown.text, "The report template was not found:\n" + dir.filePath("Report_eng.rav"));
    EXPECT_EQ(shown.caption, "Error");
    EXPECT_TRUE(harness.dialogs.dialogsShown.empty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(ReportPrinterTest, APdfThatCannotBeWrittenIsReported) {
    const QString unwritable = dir.filePath(QStringLiteral("gone/report.pdf"));
    choose("ToPdf");
    harness.dialogs.fileNames.push_back(unwritable);
    form->PrintClick();
    ASSERT_EQ(harness.dialogs.messages.size(), 1u);
    EXPECT_TRUE(harness.dialogs.messages.front().text.startsWith(
        "The PDF file could not be written:\n" + unwritable + "\n"));
    EXPECT_FALSE(QFile::exists(unwritable));
}

TEST_F(ReportPrinterTest, ThePreviewLaysTheReportOutOnOnePageAndAPrinterCanBeDeclined) {
    int previewPages = 0;
    choose("ToPreview");
    harness.dialogs.dialogScripts.push_back([&previewPages](QDialog& preview) {
        auto* pages = preview.findChild<QPrintPreviewWidget*>();
        pages->updatePreview();
        previewPages = pages->pageCount();
        return int(QDialog::Accepted);
    });
    form->PrintClick();
    EXPECT_EQ(previewPages, 1);

    choose("ToPrinter");
    form->PrintClick();
    choose("Cancel");
    form->PrintClick();
    EXPECT_EQ(harness.dialogs.dialogsShown,
              (std::vector<QString>{"ReportDestination", "PrintPreview", "ReportDestination",
                                    "PrintDialog", "ReportDestination"}));
    EXPECT_TRUE(harness.dialogs.messages.empty());
    EXPECT_TRUE(harness.dialogs.fileRequests.empty());
}

}  // namespace
