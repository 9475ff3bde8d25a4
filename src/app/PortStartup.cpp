#include "app/PortStartup.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <vector>

#include "app/Comportselect.h"
#include "app/Main.h"
#include "app/PortList.h"
#include "settings/Settings.h"
#include "ui/Dialogs.h"
#include "ui/WaitCursor.h"

namespace {

void RequestQuit() {
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                              Qt::QueuedConnection);
}

}  // namespace

PortChoice::PortChoice(TMainForm& form) : form_(form) {}

bool PortChoice::Startup() {
    SettingsStore& settings = form_.settings();
    if (!settings.hasValue(SettingsStore::ComPort))
        return AskAtStartup();
    form_.State.PortNumber =
        static_cast<uint8_t>(settings.readInteger(SettingsStore::ComPort) & 0xFF);
    if (form_.State.PortNumber != TSerialCom::DemoPort && !ProbeStored(form_.State.PortNumber))
        return AskAtStartup();
    form_.OpenSensorLink(form_.State.PortNumber);
    return true;
}

bool PortChoice::AskAtStartup() {
    uint8_t choice = 0;
    if (Ask(choice) != Answer::Connect)
        return false;
    Use(choice);
    Open(choice == TSerialCom::DemoPort);
    return true;
}

void PortChoice::Choose() {
    form_.SensorLink.Close();
    uint8_t choice = 0;
    const Answer answer = Ask(choice);
    if (answer == Answer::Connect)
        Use(choice);
    // Quitting still opens the port in use: the window polls until the event loop ends.
    if (answer == Answer::Quit)
        RequestQuit();
    Open(answer == Answer::Connect && choice == TSerialCom::DemoPort);
}

void PortChoice::Open(bool connectedToDemo) {
    form_.OpenSensorLink(form_.State.PortNumber);
    if (connectedToDemo)
        form_.SensorLink.LoadDemoSet();
}

PortChoice::Answer PortChoice::Ask(uint8_t& choice) {
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
    TComPortSelectForm dialog(entries, form_.State.UiLanguage, &form_);
    const int result = form_.dialogs().execDialog(dialog);
    if (result == TComPortSelectForm::QuitResult)
        return Answer::Quit;
    choice = dialog.Choice();
    if (result != TComPortSelectForm::ConnectResult || choice == app::NoChoice)
        return Answer::Cancel;
    return Answer::Connect;
}

void PortChoice::Use(uint8_t choice) {
    form_.State.PortNumber = choice;
    if (choice != TSerialCom::DemoPort) {
        form_.settings().writeInteger(SettingsStore::ComPort, choice);
    }
}

bool PortChoice::ProbeStored(uint8_t port) {
    TSerialCom prober(form_.probeBackend(), form_.clock(), form_.ports());
    if (prober.Probe(port))
        return true;
    const app::PortEntry stored{port, form_.ports().devicePath(port)};
    if (stored.devicePath.empty())
        return false;
    if (app::PermissionDenied(prober))
        Advise({stored});
    else if (app::InUseElsewhere(prober))
        Tell(app::InUseAdvice(stored, form_.State.UiLanguage));
    return false;
}

void PortChoice::Advise(const std::vector<app::PortEntry>& denied) {
    Tell(app::PermissionAdvice(denied, form_.State.UiLanguage));
}

void PortChoice::Tell(const QString& advice) {
    if (advice.isEmpty())
        return;
    form_.dialogs().showMessage({advice, QStringLiteral("Varnel"), MessageButtons::Ok,
                                 MessageIcon::Warning, form_.State.UiLanguage});
}
