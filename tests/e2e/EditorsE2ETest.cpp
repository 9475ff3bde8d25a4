#include <gtest/gtest.h>
#include <stdlib.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "app/Main.h"
#include "app/Startup.h"
#include "linearization/gui/LinPage.h"
#include "params/ParameterPages.h"
#include "platform/Clock.h"
#include "platform/ComPortMap.h"
#include "platform/TermiosSerialBackend.h"
#include "settings/Settings.h"
#include "support/ChildProcess.h"
#include "support/GuiTestEnvironment.h"
#include "support/ScriptedDialogs.h"
#include "support/Simulator.h"
#include "ui/controls/LabeledEdit.h"

namespace {

using testsupport::ChildProcess;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr int Port = 7;
constexpr int MaxPolls = 20;
// The qh preset's values.
constexpr int PresetBitWidth = 25;
constexpr int PresetErrorValue = 0;
constexpr int Missing = -999;

// The desktop program's window in this process, on the real serial backend and
// clock, against the simulator on a pseudo-terminal that keeps its EEPROM in a file.
class EditorsE2E : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/varnel-editors-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        link_ = (dir_ / "tty").string();
        ports_ = platform::ComPortMap({{Port, link_}});
        const fs::path settingsFile = dir_ / "config" / "KYR" / "Torvane.json";
        fs::create_directories(settingsFile.parent_path());
        std::ofstream(settingsFile)
            << R"({"Language": 0, "COM-Port": )" << Port << R"(, "PortMap": {")" << Port
            << R"(": ")" << link_ << R"("}})";
        settings_ = std::make_unique<SettingsStore>(QString::fromStdString(settingsFile));
        startSimulator();
    }
    void TearDown() override {
        form_.reset();
        sim_.reset();
        fs::remove_all(dir_);
    }

    void startSimulator(std::vector<std::string> options = {}) {
        options.insert(options.begin(),
                       {"--preset", "qh", "--state", (dir_ / "state.txt").string()});
        testsupport::StartSimulator(sim_, VARNEL_SIM_BIN, link_, options, 5s);
    }

    void restartSimulator() {
        sim_->stop();
        startSimulator();
    }

    // Starts the window on COM7 and polls until it has read the sensor's set.
    void openWindow() {
        form_ = std::make_unique<TMainForm>(ProgramServices{serial_, clock_, dialogs_, probe_},
                                            ports_, *settings_);
        ASSERT_TRUE(Startup(form_->StartupWiring()).Run());
        for (int i = 0; i < MaxPolls && !form_->State.SensorOnline; ++i)
            form_->IdleFunction();
        ASSERT_TRUE(form_->State.SensorOnline);
        ASSERT_FALSE(form_->State.ParametersChanged);
    }

    // Types into an editor field; the live handler writes the value to the sensor.
    void edit(LabeledEdit& field, const char* text) {
        form_->State.ClearParametersChanged();
        field.setText(QString::fromLatin1(text));
        EXPECT_TRUE(form_->State.ParametersChanged) << text;
        EXPECT_TRUE(dialogs_.messages.empty()) << text;
    }

    void editBitWidthAndErrorValue() {
        params::PageControls& ui = form_->Parameters->ui;
        edit(*ui.SSISettings.BitWidth, "20");
        edit(*ui.ErrorIndication.ErrorValue, "-5");
    }

    // The values of varnelctl's read, by register name.
    QJsonObject readWithVarnelctl() {
        ChildProcess ctl(
            {VARNELCTL_BIN, "read", "--json", "--port", link_},
            {"HOME=" + dir_.string(), "XDG_CONFIG_HOME=" + (dir_ / "config").string()});
        EXPECT_EQ(ctl.wait(10s), 0) << ctl.err();
        const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString(ctl.out()));
        QJsonObject values;
        for (const QJsonValue row : json.object().value(QStringLiteral("registers")).toArray())
            values.insert(row[QStringLiteral("key")].toString(), row[QStringLiteral("value")]);
        return values;
    }

    void expectSensorHolds(int bitWidth, int errorValue) {
        const QJsonObject values = readWithVarnelctl();
        EXPECT_EQ(values.value(QStringLiteral("BitWidth")).toInt(Missing), bitWidth);
        EXPECT_EQ(values.value(QStringLiteral("ErrorValue")).toInt(Missing), errorValue);
    }

    fs::path dir_;
    std::string link_;
    std::unique_ptr<ChildProcess> sim_;
    platform::TermiosSerialBackend serial_;
    platform::TermiosSerialBackend probe_;
    platform::SteadyClock clock_;
    ScriptedDialogs dialogs_;
    platform::ComPortMap ports_;
    std::unique_ptr<SettingsStore> settings_;
    std::unique_ptr<TMainForm> form_;
};

TEST_F(EditorsE2E, UpdatedValuesSurviveARestartOfTheSensor) {
    openWindow();
    editBitWidthAndErrorValue();
    form_->Parameters->ui.SensorInfo.EEPROMUpdateButton->click();
    EXPECT_FALSE(form_->State.ParametersChanged);
    // Destroyed without closing: the close handling would commit as well.
    form_.reset();

    restartSimulator();
    expectSensorHolds(20, -5);
}

TEST_F(EditorsE2E, ValuesNotUpdatedAreLostWithARestartOfTheSensor) {
    openWindow();
    editBitWidthAndErrorValue();
    dialogs_.answers.push_back(MessageResult::No);
    form_->close();
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].buttons, MessageButtons::YesNo);
    form_.reset();

    restartSimulator();
    expectSensorHolds(PresetBitWidth, PresetErrorValue);
}

// The simulator streams its magnet at 123 mm plus its offset; after the new origin it
// streams 0, so a second new origin finds nothing to change.
TEST_F(EditorsE2E, TheNewOriginMakesThePresentPositionReadZeroAndThePollGoesOn) {
    sim_->stop();
    startSimulator({"--position", "123000"});
    openWindow();
    auto& offset = *form_->Parameters->ui.Measurement.Offset;
    QPushButton& origin = *form_->Parameters->ui.Measurement.OriginButton;
    origin.click();
    EXPECT_EQ(offset.text(), "-123000");
    EXPECT_EQ(form_->SensorLink[TSSICom::Offset].Value, -123000 / 5);
    EXPECT_TRUE(form_->Timer1->isActive());

    origin.click();
    EXPECT_EQ(offset.text(), "-123000");
    EXPECT_TRUE(dialogs_.messages.empty());

    form_->State.SensorOnline = false;
    form_->IdleFunction();
    EXPECT_TRUE(form_->State.SensorOnline) << "the command link answers again";
}

TEST_F(EditorsE2E, VarnelctlExportsTheSameLinearizationBytesAsTheDesktopProgram) {
    openWindow();
    const fs::path desktopFile = dir_ / "desktop.txt";
    form_->State.UiLanguage = 1;
    dialogs_.fileNames.push_back(QString::fromStdString(desktopFile.string()));
    form_->Linearization->ui.WriteLinFile->click();
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_TRUE(dialogs_.messages[0].text.startsWith("Daten schreiben erfolgreich!"))
        << dialogs_.messages[0].text.toStdString();
    form_.reset();

    const fs::path ctlFile = dir_ / "varnelctl.txt";
    ChildProcess ctl(
        {VARNELCTL_BIN, "lin", "export", "--port", link_, ctlFile.string(), "--lang", "de"},
        {"HOME=" + dir_.string(), "XDG_CONFIG_HOME=" + (dir_ / "config").string()});
    EXPECT_EQ(ctl.wait(120s), 0) << ctl.err();
    std::ifstream desktop(desktopFile, std::ios::binary);
    std::ifstream fromCtl(ctlFile, std::ios::binary);
    const std::string desktopBytes{std::istreambuf_iterator<char>(desktop), {}};
    const std::string ctlBytes{std::istreambuf_iterator<char>(fromCtl), {}};
    EXPECT_EQ(std::count(desktopBytes.begin(), desktopBytes.end(), '\n'), 304);
    EXPECT_TRUE(desktopBytes.starts_with("Linearisierungsfaktor = "));
    EXPECT_EQ(ctlBytes, desktopBytes);
}

}  // namespace
