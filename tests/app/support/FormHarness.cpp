#include "support/FormHarness.h"

#include <QDialog>
#include <QPushButton>

#include "app/Startup.h"

FormHarness::FormHarness(const sim::SensorConfig& config) : sensor(config), serial(sensor, clock) {
    probe.present = {"/dev/ttyUSB0"};
    devices.devices = {{"/dev/ttyUSB0", &serial}};
}

FormHarness::~FormHarness() = default;

TMainForm& FormHarness::create() {
    const auto describe = [this](const std::string& path) {
        const auto known = descriptions.find(path);
        platform::PortDescription unknown;
        unknown.devicePath = path;
        return known != descriptions.end() ? known->second : unknown;
    };
    form_ = std::make_unique<TMainForm>(ProgramServices{devices, clock, dialogs, probe, describe,
                                                        portMonitor, historyStore, recorder},
                                        ports, settings);
    return *form_;
}

TMainForm& FormHarness::start() {
    create();
    Startup(form_->StartupWiring()).Run();
    return *form_;
}

void FormHarness::answerLanguage(const char* buttonName) {
    dialogs.dialogScripts.push_back([buttonName](QDialog& dialog) {
        dialog.findChild<QPushButton*>(QString::fromLatin1(buttonName))->click();
        return dialog.result();
    });
}
