#pragma once

#include <QString>
#include <cstdint>

class MainState;
class TMainForm;
class TSSICom;

// One tick of the poll timer: finds the sensor, reads or re-sends its set,
// watches the operating time, and shows the connection state; while no sensor
// answers it sends the wake-up sequence and offers the disconnect warning once.
class ConnectionMonitor {
public:
    static constexpr int ConnectedIntervalMs = 200;
    static constexpr int SearchingIntervalMs = 600;
    static constexpr uint32_t WarningAtMissedPoll = 4;

    explicit ConnectionMonitor(TMainForm& form);
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

    TMainForm& form_;
    MainState& state_;
    TSSICom& link_;
};
