#pragma once

#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/MainControls.h"
#include "app/ProgramInfo.h"
#include "app/StatusLine.h"
#include "app/ToolkitTexts.h"
#include "comm/Ssicom.h"
#include "platform/ComPortMap.h"
#include "platform/PortDescription.h"
#include "platform/PortMonitor.h"
#include "ui/MainState.h"

class ConnectionMonitor;
class Dialogs;
class OperationHistory;
class PortChoice;
class QTimer;
class SettingsStore;
struct StartupParts;

namespace platform {
class Clock;
class SerialBackend;
}  // namespace platform

namespace params {
class ParameterPages;
}
namespace linearization {
class LinPage;
}
namespace firmware {
class FirmwarePage;
}
namespace files {
class Files;
}
namespace testmode {
class SensorTest;
}
namespace report {
class ReportPrinter;
}
namespace history {
class HistoryStore;
class Recorder;
}  // namespace history

// What the program works with; main() passes the real ones, tests fakes.
struct ProgramServices {
    platform::SerialBackend& serial;
    platform::Clock& clock;
    Dialogs& dialogs;
    platform::SerialBackend& probe;  // used only to find the ports that exist
    // What the system knows of a device: its stable name, USB ids, serial number, driver.
    std::function<platform::PortDescription(const std::string& devicePath)> describe =
        platform::DescribePort;
    // Announces serial devices that come and go; none in tests, which call PortEvent.
    platform::PortMonitor* portMonitor = nullptr;
    // The sensors' history: the store the History window reads and the recorder
    // the operations report to. Without them nothing is recorded.
    history::HistoryStore* historyStore = nullptr;
    history::Recorder* recorder = nullptr;
};

// The program's one main window. It owns the sensor link, the shared state, the
// poll timer and one object per subsystem, builds the window from their pages
// and connects the menus to them. Construction builds the layout and the
// initial state; Startup runs the rest of the start-up sequence.
class TMainForm : public QMainWindow {
    Q_OBJECT

    // Where the port numbers lead; a port chosen in the port dialog adds its entry.
    // It comes first because the sensor link refers to it.
    platform::ComPortMap ports_;

public:
    static inline const QString ProgramTitle = ::ProgramTitle;
    static constexpr int PollIntervalMs = 200;

    TMainForm(ProgramServices services, const platform::ComPortMap& ports, SettingsStore& settings,
              QWidget* parent = nullptr);
    ~TMainForm() override;

    TSSICom SensorLink;
    MainState State;
    MainControls ui;
    std::unique_ptr<params::ParameterPages> Parameters;
    std::unique_ptr<linearization::LinPage> Linearization;
    std::unique_ptr<firmware::FirmwarePage> Firmware;
    std::unique_ptr<files::Files> Files;
    std::unique_ptr<testmode::SensorTest> SensorTest;
    std::unique_ptr<report::ReportPrinter> Report;
    QTimer* Timer1 = nullptr;

    void ApplyLanguage();
    // The Language menu: applies, stores and repaints, and makes the next poll
    // treat the sensor as newly found.
    void SwitchLanguage(uint8_t language);
    void SetAccessLevel(TAccessLevel level);
    // Opens `port` on the command link (0 is the demo port).
    void OpenSensorLink(uint8_t port);
    bool SensorLinkOpened() const { return linkOpened_; }
    // Every page's share of the refresh, then the texts that follow the set.
    void RefreshParameterView();
    // The tick of Timer1.
    void IdleFunction();
    void HelpAboutItemClick();
    void RestoreFactorySettings1Click();
    void FileSaveAsItemClick();
    void FileOpenItemClick();
    void PrintClick();
    void TestSensorClick();
    void FileExitItemClick();
    void FirmwareUpdateClick();
    // The connected sensor's History window.
    void HistoryClick();
    // Pulses RTS and closes the sensor link; runs once, at the latest when the window is destroyed.
    void Shutdown();

    Dialogs& dialogs() { return services_.dialogs; }
    SettingsStore& settings() { return settings_; }
    platform::Clock& clock() { return services_.clock; }
    const platform::ComPortMap& ports() const { return ports_; }
    platform::SerialBackend& probeBackend() { return services_.probe; }

    // Connection monitor and port choice.
    // Receives every change of the status line and the factory number of a sensor
    // when it is shown; empty unless main() traces (--trace-status) or a test records.
    std::function<void(const QString& line)> Trace;
    void ShowStatus(app::Status code, const QString& argument);
    // False when the user quit the port dialog at start-up.
    bool OpenStartupPort();
    // What Startup needs of this window.
    StartupParts StartupWiring();
    void SelComPortClick();
    void FormClose();
    // A serial device came or went: the connection monitor and the open port dialog follow.
    void PortEvent(const platform::PortEvent& event);

    // Width and height of the window, which is not resizable.
    static constexpr int FixedWidth = 1160;
    static constexpr int FixedHeight = 440;

protected:
    void showEvent(QShowEvent* event) override;
    // Runs FormClose.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildSubsystems();
    void connectState();
    void connectMenus();
    void setInitialState();
    void storeLanguage();
    void redetectSensor();
    void buildMonitorAndPortChoice();
    void watchPorts();
    void commitOnClose();
    void showHistoryNotice(const QString& reason);

    ProgramServices services_;
    SettingsStore& settings_;
    bool pollingStarted_ = false;
    bool linkOpened_ = false;
    ToolkitTexts toolkitTexts_;
    std::unique_ptr<ConnectionMonitor> monitor_;
    std::unique_ptr<PortChoice> portChoice_;
    std::unique_ptr<OperationHistory> history_;
};
