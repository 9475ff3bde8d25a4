#include <QChart>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QValueAxis>

#include "LinPageHarness.h"
#include "linearization/gui/Linearity.h"
#include "support/PdfText.h"

namespace {

using namespace lintest;
using linearization::TLinearityForm;

class LinChartWindowTest : public LinPageTest {
protected:
    // Every entry 1 except -10 at address 350, factor 200.
    void connectWithLength(int lengthMm, uint8_t language = 0) {
        sim::SensorConfig config;
        config.lengthMm = lengthMm;
        connect(config, language);
        for (int address = 200; address <= 500; ++address)
            harness->sensor.setLinTableByte(address, 1);
        harness->sensor.setLinTableByte(350, 0xF6);
        harness->sensor.setLinTableByte(501, 200);
    }
    QList<TLinearityForm*> windows() const { return form->findChildren<TLinearityForm*>(); }
    int entryReads() const {
        int reads = 0;
        for (const auto& command : commands())
            reads += command.starts_with("XA") && command != "XA01F500";
        return reads;
    }
};

TEST_F(LinChartWindowTest, TheCurveAndTheToleranceBandFollowTheLengthAndTheFactor) {
    struct Case {
        int lengthMm;
        double tolerance;
        double axis;
    };
    for (const Case& c : {Case{300, 40, 50}, Case{1000, 100, 125}}) {
        SCOPED_TRACE(c.lengthMm);
        connectWithLength(c.lengthMm);
        ui().PrintLinFile->click();
        ASSERT_EQ(windows().size(), 1);
        const TLinearityForm& chart = *windows().front();
        EXPECT_EQ(entryReads(), 301);
        ASSERT_EQ(chart.Series1->count(), 301);
        EXPECT_EQ(chart.Series1->at(150), QPointF(c.lengthMm / 2.0, -2000));
        EXPECT_EQ(chart.Series1->at(0), QPointF(0, 200));
        EXPECT_EQ(chart.Series1->at(300), QPointF(c.lengthMm, 200));
        for (int i : {0, 150, 300}) {
            EXPECT_EQ(chart.Series2->at(i).y(), c.tolerance);
            EXPECT_EQ(chart.Series3->at(i).y(), -c.tolerance);
        }
        EXPECT_EQ(chart.ZeroLine->points(), (QList<QPointF>{{0, 0}, {double(c.lengthMm), 0}}));
        EXPECT_EQ(chart.LeftAxis->min(), -c.axis);
        EXPECT_EQ(chart.LeftAxis->max(), c.axis);
        EXPECT_EQ(chart.Series1->pen().color(), QColor(Qt::darkBlue));
        EXPECT_TRUE(chart.isMaximized());
        EXPECT_TRUE(chart.Print->isEnabled());
        EXPECT_EQ(chart.SensorLength->text(), QString::number(c.lengthMm) + " mm");
        EXPECT_TRUE(form->State.LinTableCached);
        EXPECT_EQ(ui().CGauge1->value(), 0);
    }
}

TEST_F(LinChartWindowTest, ASecondChartOpensBesideTheFirstWithoutReadingTheEntriesAgain) {
    connectWithLength(1000, 1);
    ui().PrintLinFile->click();
    harness->sensor.clearTraffic();
    ui().PrintLinFile->click();
    EXPECT_EQ(entryReads(), 0);
    EXPECT_EQ(count("XA01F500"), 1);
    ASSERT_EQ(windows().size(), 2);
    const TLinearityForm& chart = *windows().back();
    EXPECT_EQ(chart.Series1->count(), 301);
    EXPECT_EQ(chart.windowTitle(), "Linearity");
    EXPECT_EQ(chart.Chart1->title(), "Linearitätsdiagramm");
    EXPECT_EQ(chart.LeftAxis->titleText(), "Nichtlinearität [µm]");
    EXPECT_EQ(chart.BottomAxis->titleText(), "Messlänge [mm]");
    EXPECT_EQ(chart.SensorGradient->caption(), "Ultraschallgeschw.:");
    const auto& info = form->Parameters->ui.SensorInfo;
    EXPECT_EQ(chart.SensorFN->text(), info.InfoLabel3->text());
    EXPECT_EQ(chart.SensorSW->text(), info.InfoLabel6->text());
    EXPECT_FALSE(chart.SensorFN->text().isEmpty());

    windows().front()->CloseLin->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(windows().size(), 1);
}

TEST_F(LinChartWindowTest, PrintSavesThePictureForTheUserHidesTheWindowAndPrintsTheReport) {
    connectWithLength(1000, 1);
    ui().PrintLinFile->click();
    ASSERT_EQ(windows().size(), 1);
    TLinearityForm& chart = *windows().front();
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("linearity.pdf"));
    harness->dialogs.dialogScripts.push_back([](QDialog& destination) {
        destination.findChild<QPushButton*>(QStringLiteral("ToPdf"))->click();
        return destination.result();
    });
    harness->dialogs.fileNames.push_back(pdf);
    chart.Print->click();

    EXPECT_TRUE(harness->dialogs.messages.empty());
    EXPECT_FALSE(QImage(home.dataPath() + QStringLiteral("/Linearität.png")).isNull());
    EXPECT_TRUE(chart.isHidden());
    EXPECT_EQ(windows().size(), 1);
    const std::string text = testsupport::PdfText(pdf.toStdString());
    for (const QString& expected :
         {QStringLiteral("Modell:"), QStringLiteral("Länge:"), QStringLiteral("1000 mm"),
          QStringLiteral("Ultraschallgeschw.:"), chart.SensorFN->text(), chart.SensorSW->text()}) {
        EXPECT_NE(text.find(expected.toStdString()), std::string::npos)
            << expected.toStdString() << " in:\n"
            << text;
    }
    EXPECT_EQ(testsupport::PdfImageCount(pdf.toStdString()), 1);
}

TEST_F(LinChartWindowTest, APictureThatCannotBeSavedIsReportedAndNothingIsPrinted) {
    connectWithLength(1000);
    ui().PrintLinFile->click();
    ASSERT_EQ(windows().size(), 1);
    // A file where the user's data folder would be.
    QDir().mkpath(home.path() + QStringLiteral("/data/KYR"));
    QFile blocker(home.dataPath());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    windows().front()->Print->click();
    ASSERT_EQ(harness->dialogs.messages.size(), 1u);
    EXPECT_TRUE(harness->dialogs.messages.front().text.startsWith(
        "The file could not be written:\n" + home.dataPath() + "/Linearität.png"));
    EXPECT_TRUE(harness->dialogs.dialogsShown.empty());
    EXPECT_FALSE(windows().front()->isHidden());
}

TEST_F(LinChartWindowTest, AnEntryThatFailsSixTimesOpensNoWindow) {
    connectWithLength(1000);
    harness->sensor.faults().silentCommands = {"XA012C00"};
    ui().PrintLinFile->click();
    EXPECT_EQ(count("XA012C00"), 6 * 5);
    EXPECT_TRUE(windows().isEmpty());
    EXPECT_EQ(onlyMessage(), std::make_pair(QStringLiteral("Read linearity data's failed!"),
                                            QStringLiteral("ERROR")));
    EXPECT_FALSE(form->State.LinTableCached);
}

}  // namespace
