#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <string>

#include "app/StatusLine.h"
#include "platform/PortMonitor.h"

class Dialogs;
class MainState;
class QTimer;
class QWidget;
class TSSICom;
struct MainControls;

namespace params {
class ParameterPages;
}
namespace platform {
class ComPortMap;
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
    platform::ComPortMap& ports;  // where the port numbers lead
    std::function<void(app::Status code, const QString& argument)> showStatus;
    // Told the factory number of each sensor shown; may be empty.
    const std::function<void(const QString& line)>& trace;
};

// One tick of the poll timer: finds the sensor, reads or re-sends its set,
// watches the operating time, and shows the connection state; while no sensor
// answers it sends the wake-up sequence and offers the disconnect warning once.
// When the system announces that the open port's device went away, the port is
// closed and left alone until the same adapter (the same device or stable name)
// comes back, when it is opened again.
class ConnectionMonitor {
public:
    static constexpr int ConnectedIntervalMs = 200;
    static constexpr int SearchingIntervalMs = 600;
    static constexpr uint32_t WarningAtMissedPoll = 4;

    explicit ConnectionMonitor(ConnectionMonitorParts parts);
    void Tick();
    // A serial device came or went.
    void DeviceEvent(const platform::PortEvent& event);
    // Whether the open port's device went away and has not come back.
    bool DeviceGone() const { return deviceGone_; }

private:
    bool SensorAnswers();
    void SensorPresent();
    // False when the set could not be read and the tick ends.
    bool SensorAppeared();
    void ShowConnected();
    void SensorMissing();
    void ShowSensorMissing();
    // Counts the poll as missed; true when it offered the disconnect warning.
    bool PollMissed();
    bool IsOpenPortsDevice(const platform::PortEvent& event) const;
    bool IsGoneAdapter(const platform::PortEvent& event) const;
    void DeviceRemoved(const platform::PortEvent& event);
    void DeviceBack(const platform::PortEvent& event);
    void OfferDisconnectWarning();
    void ShowOperatingTime();
    QString LinkPort() const;

    ConnectionMonitorParts parts_;
    MainState& state_;
    TSSICom& link_;
    MainControls& ui_;
    bool deviceGone_ = false;
    std::string goneStableName_;  // of the device that went away; empty when it had none
};
