#include "app/PortStartup.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <vector>

#include "app/Comportselect.h"
#include "app/Dialogs.h"
#include "app/Main.h"
#include "app/PortList.h"
#include "app/WaitCursor.h"
#include "settings/Settings.h"

namespace {

void RequestQuit() {
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                              Qt::QueuedConnection);
}

}  // namespace

PortChoice::PortChoice(TMainForm& form) : form_(form) {}

void PortChoice::Startup() {
    SettingsStore& settings = form_.settings();
    if (!settings.hasValue(SettingsStore::ComPort)) {
        AskAndOpen();
        return;
    }
    form_.PortNumber = static_cast<uint8_t>(settings.readInteger(SettingsStore::ComPort) & 0xFF);
    if (form_.PortNumber != TSerialCom::DemoPort && !ProbeStored(form_.PortNumber)) {
        Choose();
        return;
    }
    form_.OpenSensorLink(form_.PortNumber);
}

void PortChoice::Choose() {
    if (form_.SensorLink)
        form_.SensorLink->Close();
    AskAndOpen();
}

// Quitting still opens the port in use: the window polls until the event loop ends.
void PortChoice::AskAndOpen() {
    uint8_t choice = 0;
    const bool connect = Ask(choice);
    if (connect) {
        Use(choice);
    } else {
        RequestQuit();
    }
    form_.OpenSensorLink(form_.PortNumber);
    if (connect && choice == TSerialCom::DemoPort)
        form_.SensorLink->LoadDemoSet();
}

bool PortChoice::Ask(uint8_t& choice) {
    std::vector<app::PortEntry> denied;
    std::vector<app::PortEntry> entries;
    {
        WaitCursor hourglass;
        TSerialCom prober(form_.probeBackend(), form_.clock(), form_.ports());
        auto scan = app::AvailablePorts(prober, form_.ports());
        entries = std::move(scan.entries);
        denied = std::move(scan.denied);
    }
    Advise(denied);
    TComPortSelectForm dialog(entries, form_.UiLanguage, &form_);
    if (form_.dialogs().execDialog(dialog) != TComPortSelectForm::ConnectResult)
        return false;
    choice = dialog.Choice();
    return choice != app::NoChoice;
}

void PortChoice::Use(uint8_t choice) {
    form_.PortNumber = choice;
    if (choice != TSerialCom::DemoPort) {
        form_.settings().writeInteger(SettingsStore::ComPort, choice);
    }
}

bool PortChoice::ProbeStored(uint8_t port) {
    TSerialCom prober(form_.probeBackend(), form_.clock(), form_.ports());
    if (prober.Probe(port))
        return true;
    if (!form_.ports().devicePath(port).empty() && app::PermissionDenied(prober)) {
        Advise({{port, form_.ports().devicePath(port)}});
    }
    return false;
}

void PortChoice::Advise(const std::vector<app::PortEntry>& denied) {
    const QString advice = app::PermissionAdvice(denied, form_.UiLanguage);
    if (advice.isEmpty())
        return;
    form_.dialogs().showMessage({advice, QStringLiteral("Varnel"), MessageButtons::Ok,
                                 MessageIcon::Warning, form_.UiLanguage});
}

void TMainForm::OpenStartupPort() {
    PortChoice(*this).Startup();
}

void TMainForm::SelComPortClick() {
    PortChoice(*this).Choose();
}
