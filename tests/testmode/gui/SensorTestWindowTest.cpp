#include <gtest/gtest.h>

#include <QChart>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTimer>
#include <QValueAxis>
#include <memory>
#include <string>
#include <vector>

#include "support/FormHarness.h"
#include "support/GuiTestEnvironment.h"
#include "support/TempHome.h"
#include "testmode/gui/SensorTest.h"
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

}  // namespace
