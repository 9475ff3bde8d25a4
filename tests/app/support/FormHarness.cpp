#include "support/FormHarness.h"

#include <QDialog>
#include <QPushButton>

#include "app/Startup.h"

FormHarness::FormHarness(const sim::SensorConfig& config) : sensor(config), serial(sensor, clock) {
    probe.present = {"/dev/ttyUSB0"};
}

FormHarness::~FormHarness() = default;

TMainForm& FormHarness::create() {
    form_ = std::make_unique<TMainForm>(ProgramServices{serial, clock, dialogs, probe}, ports,
                                        settings);
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
