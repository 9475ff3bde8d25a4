#pragma once

#include <map>
#include <memory>
#include <string>

#include "ProbeOnlyBackend.h"
#include "app/Main.h"
#include "firmware/gui/FirmwarePage.h"
#include "linearization/gui/LinPage.h"
#include "params/ParameterPages.h"
#include "platform/Clock.h"
#include "platform/ComPortMap.h"
#include "settings/Settings.h"
#include "sim/InProcessBackend.h"
#include "sim/SimulatedSensor.h"
#include "support/ScriptedDialogs.h"
#include "support/SwitchedBackend.h"

// A main window on a simulated sensor (at /dev/ttyUSB0, COM1) and virtual
// time, with scripted dialogs and the settings file of the current HOME.
class FormHarness {
public:
    explicit FormHarness(const sim::SensorConfig& config = {});
    ~FormHarness();

    TMainForm& create();
    // Builds the window and runs the start-up sequence.
    TMainForm& start();
    TMainForm& form() { return *form_; }
    void destroy() { form_.reset(); }

    // Makes the first-run language dialog answer with the named button.
    void answerLanguage(const char* buttonName);

    platform::VirtualClock clock;
    sim::SimulatedSensor sensor;
    sim::InProcessBackend serial;
    // What the window's link talks through: the device of `serial`, and the links a
    // test adds to it (a stable name such as /dev/serial/by-id/...).
    SwitchedBackend devices;
    // What the system knows of each device; nothing for the others.
    std::map<std::string, platform::PortDescription> descriptions;
    // Announces devices to the window when a test gives one; tests mostly call PortEvent.
    platform::PortMonitor* portMonitor = nullptr;
    platform::ComPortMap ports;
    ScriptedDialogs dialogs;
    SettingsStore settings;
    ProbeOnlyBackend probe;  // finds /dev/ttyUSB0 (COM1) unless a test says otherwise
    // The window's history; none unless a test gives one.
    history::HistoryStore* historyStore = nullptr;
    history::Recorder* recorder = nullptr;

private:
    std::unique_ptr<TMainForm> form_;
};
