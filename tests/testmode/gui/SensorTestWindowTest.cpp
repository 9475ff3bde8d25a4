#include <gtest/gtest.h>

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTest>
#include <QTimer>
#include <QValueAxis>
#include <QWheelEvent>
#include <memory>
#include <string>
#include <vector>

#include "support/FileSizeLimit.h"
#include "support/FormHarness.h"
#include "support/GuiTestEnvironment.h"
#include "support/TempHome.h"
#include "testmode/gui/HistogramView.h"
#include "testmode/gui/SensorTest.h"
#include "testmode/gui/StatisticsPanel.h"
#include "testmode/gui/Testsensor.h"
#include "ui/controls/LabeledEdit.h"

namespace {

constexpr uint32_t MeasurementBits = 0x000C0000;
constexpr uint32_t Synchronous = 0x00080000;
constexpr uint32_t TemperatureFlag = 0x00020000;

// What the window showed while the sensor streamed.
struct Seen {
    QString title, valueLabel, temperatureLabel, quit, axisTitle, banner, value, temperature;
    qsizetype points = 0;
    double axisMin = 0, axisMax = 0;
    int redraws = 0;
    int blocks = 0;  // since the stream began
    bool polling = true;
};

std::string Hex6(uint32_t value) {
    return QString::asprintf("%06X", value & 0xFFFFFF).toStdString();
}

struct Case {
    int firmware;
    uint8_t language;
    bool temperatureBit;
    const char* warning;  // empty: none
    const char* title;
    const char* valueLabel;
    const char* temperatureLabel;
    const char* quit;
    const char* axisTitle;
    const char* temperature;
};

class SensorTestWindow : public testing::Test {
protected:
    void connect(const Case& c) {
        sim::SensorConfig config;
        config.firmwareVersion = c.firmware;
        config.magnetPositionUm = 250000;
        config.temperatureC = -7;
        config.streamStepUm = streamStepUm;
        harness = std::make_unique<FormHarness>(config);
        da = (harness->sensor.word("DA") & ~MeasurementBits) | Synchronous;
        harness->sensor.setWord("DA", da);
        if (c.temperatureBit) {
            harness->sensor.setWord("KA", harness->sensor.word("KA") | TemperatureFlag);
        }
        form = &harness->create();
        form->State.UiLanguage = c.language;
        form->OpenSensorLink(1);
        form->IdleFunction();
        ASSERT_TRUE(form->State.SensorOnline);
        form->State.MarkParametersChanged();
        form->Timer1->start();
        harness->sensor.clearTraffic();
        harness->dialogs.messages.clear();
    }

    // Runs the menu command; the window is looked at and quit after `quitAfterMs`.
    Seen run(int quitAfterMs, bool closeWindow) {
        Seen seen;
        form->SensorTest->onShown = [&](TSensorTestDlg& dialog) {
            QTimer::singleShot(quitAfterMs, &dialog, [&] {
                look(dialog, seen);
                if (closeWindow) {
                    dialog.close();
                } else {
                    dialog.Quit->click();
                }
            });
        };
        form->ui.TestSensor->trigger();
        return seen;
    }

    void look(TSensorTestDlg& dialog, Seen& seen) {
        dialog.Redraw();
        seen.title = dialog.windowTitle();
        seen.valueLabel = dialog.Value->caption();
        seen.temperatureLabel = dialog.Temperature->caption();
        seen.quit = dialog.Quit->text();
        seen.axisTitle = dialog.axisY->titleText();
        seen.banner = dialog.corvalinearLabel->text();
        seen.value = dialog.Value->text();
        seen.temperature = dialog.Temperature->text();
        seen.points = dialog.Series2->count();
        seen.axisMin = dialog.axisY->min();
        seen.axisMax = dialog.axisY->max();
        seen.redraws = dialog.RedrawCount();
        seen.polling = form->Timer1->isActive();
        const int64_t streamedMs = harness->clock.now() - harness->sensor.traffic().back().timeMs;
        seen.blocks = int(streamedMs * harness->serial.baudRate() / 10 / 17 / 1000);
    }

    std::vector<std::string> commands() const {
        std::vector<std::string> sent;
        for (const auto& entry : harness->sensor.traffic()) {
            if (entry.kind == sim::TrafficEntry::Kind::Command && entry.text != "PROG") {
                sent.push_back(entry.text);
            }
        }
        return sent;
    }

    TempHome home;
    int streamStepUm = 0;
    uint32_t da = 0;
    std::unique_ptr<FormHarness> harness;
    TMainForm* form = nullptr;
};

TEST_F(SensorTestWindow, ShowsTheStreamInEitherLanguageAndTakesTheSensorBack) {
    const Case cases[] = {
        {3960105, 0, false, "", "Sensor Test", "Measured Value:", "Temperature: ", "Quit",
         "Measured Value in µm", ""},
        {3960100, 1, true,
         "Bitte entfernen Sie den Sensor nicht, während er sich im Testmodus "
         "befindet.",
         "Sensor Test", "Messwert:", "Temperatur: ", "Beenden", "Messwert in µm", "-7"},
        {3960404, 0, true, "", "Sensor Test", "Measured Value:", "Temperature: ", "Quit",
         "Measured Value in µm", "-7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.firmware);
        connect(c);
        const Seen seen = run(150, c.language == 1);

        EXPECT_EQ(seen.title, c.title);
        EXPECT_EQ(seen.valueLabel, c.valueLabel);
        EXPECT_EQ(seen.temperatureLabel, c.temperatureLabel);
        EXPECT_EQ(seen.quit, c.quit);
        EXPECT_EQ(seen.axisTitle, QString::fromUtf8(c.axisTitle));
        EXPECT_EQ(seen.banner, QString(" Corvalinear") + QChar(174) + " Position Output");
        EXPECT_EQ(seen.value, "250");
        EXPECT_EQ(seen.temperature, c.temperature);
        EXPECT_EQ(seen.points, 301);
        EXPECT_EQ(seen.axisMin, 250000 - 15000);
        EXPECT_EQ(seen.axisMax, 250000 + 15000);
        EXPECT_FALSE(seen.polling);
        EXPECT_GT(seen.blocks, 10 * seen.redraws) << "one redraw per block";

        const bool old = std::string(c.warning).size() > 0;
        ASSERT_EQ(harness->dialogs.messages.size(), old ? 1u : 0u);
        if (old) {
            EXPECT_EQ(harness->dialogs.messages[0].text, QString::fromUtf8(c.warning));
            EXPECT_EQ(harness->dialogs.messages[0].caption, "WARNUNG");
        }
        std::vector<std::string> expected{"DA", "DN" + Hex6(da | MeasurementBits), "DA", "VA"};
        if (old) {
            expected.insert(expected.end(), {"EN", "DA", "DN" + Hex6(da), "DA", "EN"});
            EXPECT_EQ(harness->sensor.word("DA"), da);
        } else {
            expected.push_back("CN");
        }
        EXPECT_EQ(commands(), expected);
        EXPECT_EQ(form->SensorLink[TSSICom::Measurement].Value, 2);
        EXPECT_FALSE(form->State.ParametersChanged);
        EXPECT_TRUE(form->Timer1->isActive());
        EXPECT_EQ(harness->serial.baudRate(), 4800);
        EXPECT_TRUE(form->SensorLink.ReadRegister(TSSICom::FactoryNumber));
    }
}

TEST_F(SensorTestWindow, AModeThatCannotBeWrittenBackIsACommunicationError) {
    connect({3960100, 0, false, "", "", "", "", "", "", ""});
    bool entered = false;
    harness->sensor.faults().refuses = [&](const std::string& line) {
        entered = entered || line == "EN";
        return entered && line == "DA";
    };
    run(150, false);
    ASSERT_EQ(harness->dialogs.messages.size(), 2u);
    EXPECT_EQ(harness->dialogs.messages[1].text, "Communication Error");
    EXPECT_EQ(harness->dialogs.messages[1].caption, "Error");
    EXPECT_FALSE(form->State.SensorOnline);
    EXPECT_EQ(form->SensorLink[TSSICom::Measurement].Answered, 0);
    EXPECT_TRUE(form->Timer1->isActive());
}

TEST_F(SensorTestWindow, APortThatStopsWorkingIsNotReadAgainAndIsACommunicationError) {
    connect({3960404, 0, false, "", "", "", "", "", "", ""});
    int failedWhenQuit = 0;
    form->SensorTest->onShown = [&](TSensorTestDlg& dialog) {
        QTimer::singleShot(50, &dialog, [&] { harness->serial.unplug(); });
        QTimer::singleShot(300, &dialog, [&] {
            failedWhenQuit = harness->serial.failedRequests;
            dialog.Quit->click();
        });
    };
    form->ui.TestSensor->trigger();

    EXPECT_GE(failedWhenQuit, 1);
    EXPECT_LE(failedWhenQuit, 2) << "the lost port was read again and again";
    ASSERT_EQ(harness->dialogs.messages.size(), 1u);
    EXPECT_EQ(harness->dialogs.messages[0].text, "Communication Error");
    EXPECT_FALSE(form->State.SensorOnline);
}

TEST_F(SensorTestWindow, APortThatDoesNotOpenAgainAfterTheTestIsACommunicationError) {
    connect({3960404, 0, false, "", "", "", "", "", "", ""});
    form->SensorTest->onShown = [&](TSensorTestDlg& dialog) {
        QTimer::singleShot(100, &dialog, [&] {
            harness->serial.busy = true;
            dialog.Quit->click();
        });
    };
    form->ui.TestSensor->trigger();

    ASSERT_EQ(harness->dialogs.messages.size(), 1u);
    EXPECT_EQ(harness->dialogs.messages[0].text, "Communication Error");
    EXPECT_FALSE(form->State.SensorOnline);
}

// Runs the test with `steps` at the given times (ms after the window shows)
// and quits after the last one.
struct Step {
    int atMs;
    std::function<void(TSensorTestDlg&)> run;
};

class SensorTestInstrument : public SensorTestWindow {
protected:
    void runSteps(std::vector<Step> steps) {
        steps_ = std::move(steps);
        form->SensorTest->onShown = [this](TSensorTestDlg& dialog) {
            for (const Step& step : steps_) {
                QTimer::singleShot(step.atMs, &dialog, [&dialog, &step] { step.run(dialog); });
            }
            QTimer::singleShot(steps_.back().atMs + 1, &dialog,
                               [&dialog] { dialog.Quit->click(); });
        };
        form->ui.TestSensor->trigger();
    }

    QStringList csvLines(const QString& path) const {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    // The recording's last raw words were streamed by the sensor, in its order
    // (the simulator keeps only its latest records).
    void expectLastStreamedInOrder(const QStringList& lines, qsizetype last) const {
        const auto& streamed = harness->sensor.streamed();
        auto at = streamed.begin();
        for (qsizetype i = std::max<qsizetype>(1, lines.size() - last); i < lines.size(); ++i) {
            const std::string raw = lines[i].section(',', 1, 1).toStdString();
            at = std::find(at, streamed.end(), raw);
            ASSERT_NE(at, streamed.end()) << "line " << i << ": " << lines[i].toStdString();
        }
    }

    std::vector<Step> steps_;
};

TEST_F(SensorTestInstrument, PauseFreezesTheChartWhileTheStatisticsGoOn) {
    streamStepUm = 5;
    connect({3960404, 1, false, "", "", "", "", "", "", ""});
    QList<QPointF> frozen;
    size_t samplesWhenPaused = 0;
    // The chart's window of 301 points is full well before the pause, also on a busy machine.
    runSteps({
        {150,
         [&](TSensorTestDlg& d) {
             d.PauseButton->click();
             d.Redraw();
             frozen = d.Series2->points();
             samplesWhenPaused = d.StreamStatistics().SinceStart().samples;
         }},
        {400,
         [&](TSensorTestDlg& d) {
             d.Redraw();
             EXPECT_TRUE(d.ChartFrozen());
             EXPECT_EQ(d.PauseButton->text(), "Weiter");
             EXPECT_EQ(d.Series2->points(), frozen);
             EXPECT_GT(d.StreamStatistics().SinceStart().samples, samplesWhenPaused + 100);
             EXPECT_GT(d.StreamStatistics().Window().deviationUm, 100);
             d.PauseButton->click();
             d.Redraw();
             EXPECT_FALSE(d.ChartFrozen());
             EXPECT_NE(d.Series2->points(), frozen);
             EXPECT_EQ(d.Series2->count(), 301);
             EXPECT_EQ(d.PauseButton->text(), "Anhalten");
         }},
    });
    EXPECT_EQ(frozen.size(), 301);
}

TEST_F(SensorTestInstrument, ThePanelShowsNoDeviationForAMagnetAtRestAndResets) {
    connect({3960404, 1, false, "", "", "", "", "", "", ""});
    runSteps({
        {60,
         [&](TSensorTestDlg& d) {
             d.StatisticsButton->click();
             d.HistogramButton->click();
             EXPECT_EQ(d.StatisticsButton->text(), "Statistik");
             EXPECT_EQ(d.HistogramButton->text(), "Histogramm");
         }},
        {400,
         [&](TSensorTestDlg& d) {
             d.UpdatePanels();
             // Mean, deviation and minimum of the window and since the start.
             EXPECT_EQ(d.Statistics->Figure(0, 0), "250000.0");
             EXPECT_EQ(d.Statistics->Figure(1, 0), "0.00");
             EXPECT_EQ(d.Statistics->Figure(1, 1), "0.00");
             EXPECT_EQ(d.Statistics->Figure(2, 1), "0.0");
             EXPECT_EQ(d.Statistics->Figure(3, 1), "250");
             EXPECT_EQ(d.Statistics->Figure(4, 0), "250");
             EXPECT_EQ(d.Statistics->Figure(6, 1), "0");
             EXPECT_EQ(d.Statistics->Figure(7, 1), "0");
             EXPECT_EQ(d.Statistics->findChild<QLabel*>("wireRate")->text(),
                       "von 677.6/s auf der Leitung");
             EXPECT_EQ(d.Histogram->Shown().counts[10], 300u);
             EXPECT_EQ(d.Statistics->Reset->text(), "Zurücksetzen");
             d.Statistics->Reset->click();
             EXPECT_EQ(d.Statistics->Figure(0, 1), "-");
             EXPECT_EQ(d.Statistics->Figure(0, 0), "250000.0");
         }},
    });
}

TEST_F(SensorTestInstrument, TheWheelZoomsTheChartAndADoubleClickFollowsAgain) {
    connect({3960404, 0, false, "", "", "", "", "", "", ""});
    runSteps({{80, [&](TSensorTestDlg& d) {
                   d.Redraw();
                   QWidget* viewport = d.Diagramm->viewport();
                   const QPointF centre = QRectF(viewport->rect()).center();
                   QWheelEvent wheel(centre, viewport->mapToGlobal(centre), {}, {0, 120},
                                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
                   QApplication::sendEvent(viewport, &wheel);
                   EXPECT_TRUE(d.ChartFrozen());
                   EXPECT_NEAR(d.axisX->max() - d.axisX->min(), 300 / 1.25, 1);
                   EXPECT_NEAR(d.axisY->max() - d.axisY->min(), 30000 / 1.25, 10);
                   const double zoomedMin = d.axisX->min();
                   d.Redraw();
                   EXPECT_EQ(d.axisX->min(), zoomedMin);
                   QTest::mouseDClick(viewport, Qt::LeftButton, {}, centre.toPoint());
                   d.Redraw();
                   EXPECT_FALSE(d.ChartFrozen());
                   EXPECT_EQ(d.axisX->max() - d.axisX->min(), 300);
                   EXPECT_EQ(d.axisY->min(), 250000 - 15000);
                   EXPECT_EQ(d.axisY->max(), 250000 + 15000);
               }}});
}

TEST_F(SensorTestInstrument, ARecordingHoldsEverySampleUpToTheEndOfTheTest) {
    connect({3960404, 0, true, "", "", "", "", "", "", ""});
    const QString stopped = home.path() + "/stopped.csv";
    const QString ended = home.path() + "/ended.csv";
    harness->dialogs.fileNames = {stopped, ended};
    long recorded = 0;
    size_t samplesAtStart = 0;
    runSteps({
        {50,
         [&](TSensorTestDlg& d) {
             d.RecordButton->click();
             samplesAtStart = d.StreamStatistics().SinceStart().samples;
             EXPECT_EQ(d.RecordButton->text(), "Stop");
         }},
        {150,
         [&](TSensorTestDlg& d) {
             d.RecordButton->click();
             recorded = d.Recorder().Samples();
             EXPECT_EQ(size_t(recorded),
                       d.StreamStatistics().SinceStart().samples - samplesAtStart);
             EXPECT_EQ(d.RecordButton->text(), "Record...");
             d.RecordButton->click();
         }},
        {250,
         [&](TSensorTestDlg& d) {
             recorded = d.Recorder().Samples();
             d.Quit->click();
         }},
    });
    ASSERT_EQ(harness->dialogs.fileRequests.size(), 2u);
    EXPECT_EQ(harness->dialogs.fileRequests[0].filter, "CSV files (*.csv)");
    EXPECT_EQ(harness->dialogs.fileRequests[0].caption, "Record samples");
    const QStringList first = csvLines(stopped);
    ASSERT_GT(first.size(), 50);
    EXPECT_EQ(first[0], "time_ms,raw,position_mm,temperature");
    EXPECT_EQ(first[1], "0,F900C350,250,-7");
    // The second recording ran until Quit and was written up to its last sample.
    const QStringList second = csvLines(ended);
    EXPECT_EQ(second.size() - 1, recorded);
    expectLastStreamedInOrder(second, 5000);
    EXPECT_TRUE(harness->dialogs.messages.empty());
}

TEST_F(SensorTestInstrument, AFailedWriteStopsTheRecordingWithTheReasonAndTheTestGoesOn) {
    connect({3960404, 0, false, "", "", "", "", "", "", ""});
    const QString path = home.path() + "/full.csv";
    harness->dialogs.fileNames = {path};
    std::optional<FileSizeLimit> limit;
    size_t samplesAfterFailure = 0;
    runSteps({
        {40,
         [&](TSensorTestDlg& d) {
             limit.emplace(4000);
             d.RecordButton->click();
         }},
        {250,
         [&](TSensorTestDlg& d) {
             limit.reset();
             samplesAfterFailure = d.StreamStatistics().SinceStart().samples;
             EXPECT_FALSE(d.Recorder().Recording());
             EXPECT_EQ(d.RecordButton->text(), "Record...");
         }},
        {350,
         [&](TSensorTestDlg& d) {
             EXPECT_GT(d.StreamStatistics().SinceStart().samples, samplesAfterFailure + 30);
         }},
    });
    ASSERT_EQ(harness->dialogs.messages.size(), 1u);
    EXPECT_EQ(harness->dialogs.messages[0].text,
              "The recording to " + path + " stopped: File too large. The sensor test goes on.");
    EXPECT_EQ(harness->dialogs.messages[0].caption, "Recording");
    EXPECT_LE(QFile(path).size(), 4000);
    EXPECT_EQ(form->SensorLink[TSSICom::Measurement].Value, 2);
}

TEST_F(SensorTestInstrument, TheChartIsSavedAsPngOrSvg) {
    connect({3960404, 0, false, "", "", "", "", "", "", ""});
    const QString png = home.path() + "/chart.png";
    const QString svg = home.path() + "/chart.svg";
    harness->dialogs.fileNames = {png, svg, home.path() + "/missing/chart.png"};
    QSize chartSize;
    QSize pictureSize;
    runSteps({{80, [&](TSensorTestDlg& d) {
                   d.Redraw();
                   chartSize = d.Diagramm->size();
                   pictureSize = d.Diagramm->grab().size();
                   for (int i = 0; i < 3; ++i) {
                       d.SaveChartButton->click();
                   }
               }}});
    const QImage picture(png, "PNG");
    ASSERT_EQ(picture.size(), pictureSize);
    qsizetype banner = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            banner += picture.pixelColor(x, y) == QColor(0xC2, 0x00, 0x30) ? 1 : 0;
        }
    }
    EXPECT_GT(banner, picture.width() * picture.height() / 2) << "the chart's background";
    QSvgRenderer drawing(svg);
    EXPECT_TRUE(drawing.isValid());
    EXPECT_EQ(drawing.viewBox().size(), chartSize);
    ASSERT_EQ(harness->dialogs.fileRequests.size(), 3u);
    EXPECT_EQ(harness->dialogs.fileRequests[0].filter, "PNG image (*.png);;SVG image (*.svg)");
    ASSERT_EQ(harness->dialogs.messages.size(), 1u);
    EXPECT_EQ(harness->dialogs.messages[0].text,
              "The chart could not be saved as " + home.path() + "/missing/chart.png.");
}

}  // namespace
