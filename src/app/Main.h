#pragma once

#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/AccessLevel.h"
#include "app/MainControls.h"
#include "app/ProgramInfo.h"
#include "comm/Ssicom.h"

class Dialogs;
class QTimer;
class SettingsStore;

namespace platform {
class Clock;
class ComPortMap;
class SerialBackend;
}  // namespace platform

// What the main window works with; main() wires the real ones, tests fakes.
struct MainFormServices {
    platform::SerialBackend& serial;
    platform::Clock& clock;
    const platform::ComPortMap& ports;
    Dialogs& dialogs;
    SettingsStore& settings;
    platform::SerialBackend& probe;  // used only to find the ports that exist
};

// The program's one main window: the state the subsystems share, the pages,
// the menus and the sensor link. Construction builds the layout and the initial
// state; Startup runs the rest of the start-up sequence.
class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    static inline const QString ProgramTitle = ::ProgramTitle;
    static inline const QString NoFactoryNumber = QStringLiteral("XXXXXXXX");
    static constexpr int PollIntervalMs = 200;

    explicit TMainForm(MainFormServices services, QWidget* parent = nullptr);
    ~TMainForm() override;

    TAccessLevel AccessLevel = TAccessLevel::User;
    uint8_t UiLanguage = 0;
    bool SensorOnline = false;
    bool ParametersChanged = false;
    QString LastFactoryNumber = NoFactoryNumber;
    uint8_t PortNumber = TSerialCom::DemoPort;
    uint32_t MissedPolls = 0;
    bool ViewRefreshing = false;
    QString SensorTypeText;
    std::unique_ptr<TSSICom> SensorLink;

    MainControls ui;
    QTimer* Timer1 = nullptr;

    void MarkParametersChanged();
    void ClearParametersChanged();
    void ApplyLanguage();
    // The Language menu: applies, stores and repaints, and makes the next poll
    // treat the sensor as newly found.
    void SwitchLanguage(uint8_t language);
    void SetAccessLevel(TAccessLevel level);
    // Creates the sensor link and opens `port` on the command link (0 is the demo port).
    void OpenSensorLink(uint8_t port);
    // The tick of Timer1.
    void IdleFunction();
    void HelpAboutItemClick();
    void FileExitItemClick();
    // Pulses RTS and drops the sensor link; runs once, at the latest when the window is destroyed.
    void Shutdown();

    Dialogs& dialogs() { return services_.dialogs; }
    SettingsStore& settings() { return services_.settings; }
    platform::Clock& clock() { return services_.clock; }

    // Connection monitor, port choice and parameter view (app/ConnectionMonitor.cpp,
    // app/PortStartup.cpp, params/ParameterView.cpp).
    int32_t MinPeriodOverhead = 33;
    bool LinTableCached = false;
    // Receives every change of the status line and the factory number of a sensor
    // when it is shown; empty unless main() traces (--trace-status) or a test records.
    std::function<void(const QString& line)> Trace;
    void ShowStatus(int code, const QString& argument);
    void OpenStartupPort();
    void SelComPortClick();
    void FormClose();
    void RefreshParameterView();
    void WriteOutcome(bool succeeded);
    bool KModelChosen() const;
    const platform::ComPortMap& ports() const { return services_.ports; }
    platform::SerialBackend& probeBackend() { return services_.probe; }

    // Width and height of the window, which is not resizable.
    static constexpr int FixedWidth = 1160;
    static constexpr int FixedHeight = 440;

protected:
    void showEvent(QShowEvent* event) override;
    // Runs FormClose (app/ConnectionMonitor.cpp).
    void closeEvent(QCloseEvent* event) override;

private:
    void connectMenus();
    void setInitialState();
    void storeLanguage();
    void redetectSensor();

    MainFormServices services_;
    bool pollingStarted_ = false;
};
