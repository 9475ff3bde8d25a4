#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "app/StatusLine.h"

class Dialogs;
class MainState;
class QTimer;
class QWidget;
class TSSICom;
struct MainControls;

namespace params {
class ParameterPages;
}

// What the connection monitor works with; the main window wires it.
struct ConnectionMonitorParts {
    TSSICom& link;
    MainState& state;
    MainControls& ui;
    QTimer& timer;
    Dialogs& dialogs;
    QWidget& window;  // the parent of the disconnect warning
    params::ParameterPages& parameters;
    std::function<void(app::Status code, const QString& argument)> showStatus;
    // Told the factory number of each sensor shown; may be empty.
    const std::function<void(const QString& line)>& trace;
};

// One tick of the poll timer: finds the sensor, reads or re-sends its set,
// watches the operating time, and shows the connection state; while no sensor
// answers it sends the wake-up sequence and offers the disconnect warning once.
class ConnectionMonitor {
public:
    static constexpr int ConnectedIntervalMs = 200;
    static constexpr int SearchingIntervalMs = 600;
    static constexpr uint32_t WarningAtMissedPoll = 4;

    explicit ConnectionMonitor(ConnectionMonitorParts parts);
    void Tick();

private:
    bool SensorAnswers();
    void SensorPresent();
    // False when the set could not be read and the tick ends.
    bool SensorAppeared();
    void ShowConnected();
    void SensorMissing();
    void OfferDisconnectWarning();
    void ShowOperatingTime();
    QString LinkPort() const;

    ConnectionMonitorParts parts_;
    MainState& state_;
    TSSICom& link_;
    MainControls& ui_;
};
