#include "app/PortStartup.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <utility>
#include <vector>

#include "app/Comportselect.h"
#include "app/PortList.h"
#include "comm/Ssicom.h"
#include "settings/Settings.h"
#include "ui/Dialogs.h"
#include "ui/MainState.h"
#include "ui/WaitCursor.h"

namespace {

void RequestQuit() {
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                              Qt::QueuedConnection);
}

}  // namespace

PortChoice::PortChoice(PortChoiceParts parts) : parts_(std::move(parts)) {}

bool PortChoice::Startup() {
    SettingsStore& settings = parts_.settings;
    if (!settings.hasValue(SettingsStore::ComPort))
        return AskAtStartup();
    parts_.state.PortNumber =
        static_cast<uint8_t>(settings.readInteger(SettingsStore::ComPort) & 0xFF);
    if (parts_.state.PortNumber != TSerialCom::DemoPort && !ProbeStored(parts_.state.PortNumber))
        return AskAtStartup();
    parts_.openLink(parts_.state.PortNumber);
    return true;
}

bool PortChoice::AskAtStartup() {
    uint8_t choice = 0;
    QString address;
    if (Ask(choice, address) != Answer::Connect)
        return false;
    Use(choice, address);
    Open(choice == TSerialCom::DemoPort);
    return true;
}

void PortChoice::Choose() {
    parts_.link.Close();
    uint8_t choice = 0;
    QString address;
    const Answer answer = Ask(choice, address);
    if (answer == Answer::Connect)
        Use(choice, address);
    // Quitting still opens the port in use: the window polls until the event loop ends.
    if (answer == Answer::Quit)
        RequestQuit();
    Open(answer == Answer::Connect && choice == TSerialCom::DemoPort);
}

void PortChoice::Open(bool connectedToDemo) {
    parts_.openLink(parts_.state.PortNumber);
    if (connectedToDemo)
        parts_.link.LoadDemoSet();
}

app::PortScan PortChoice::Scan() {
    WaitCursor hourglass;
    TSerialCom prober(parts_.probe, parts_.clock, parts_.ports);
    return app::AvailablePorts(prober, parts_.ports);
}

// On the link's own backend, which is free while the dialog is open.
search::PortOutcome PortChoice::TryPort(const app::PortEntry& port) {
    TSSICom searcher(parts_.serial, parts_.clock, parts_.ports);
    return search::TryPort(searcher, port);
}

PortChoice::Answer PortChoice::Ask(uint8_t& choice, QString& address) {
    app::PortScan scan = Scan();
    Advise(scan.denied);
    TComPortSelectForm dialog(
        scan.entries, parts_.state.UiLanguage, &parts_.window,
        {.describe = parts_.describe,
         .tryPort = [this](const app::PortEntry& port) { return TryPort(port); }});
    openDialog_ = &dialog;
    const int result = parts_.dialogs.execDialog(dialog);
    openDialog_ = nullptr;
    if (result == TComPortSelectForm::QuitResult)
        return Answer::Quit;
    choice = dialog.Choice();
    address = dialog.Address();
    if (result != TComPortSelectForm::ConnectResult || choice == app::NoChoice)
        return Answer::Cancel;
    return Answer::Connect;
}

void PortChoice::PortsChanged() {
    if (openDialog_ != nullptr)
        openDialog_->ShowPorts(Scan().entries);
}

void PortChoice::Use(uint8_t choice, const QString& address) {
    parts_.state.PortNumber = choice;
    if (choice == TSerialCom::DemoPort)
        return;
    parts_.settings.writeInteger(SettingsStore::ComPort, choice);
    if (!address.isEmpty()) {
        Remember(choice, address.toStdString());
        return;
    }
    const std::string path = parts_.ports.devicePath(choice);
    const std::string remembered = app::RememberedPath(parts_.describe(path));
    if (remembered != path)
        Remember(choice, remembered);
}

void PortChoice::Remember(uint8_t port, const std::string& path) {
    parts_.ports.setDevicePath(port, path);
    parts_.settings.writePortMapEntry(port, QString::fromStdString(path));
}

bool PortChoice::ProbeStored(uint8_t port) {
    TSerialCom prober(parts_.probe, parts_.clock, parts_.ports);
    if (prober.Probe(port))
        return true;
    const app::PortEntry stored{port, parts_.ports.devicePath(port)};
    if (stored.devicePath.empty())
        return false;
    if (app::PermissionDenied(prober))
        Advise({stored});
    else if (app::InUseElsewhere(prober))
        Tell(app::InUseAdvice(stored, parts_.state.UiLanguage));
    return false;
}

void PortChoice::Advise(const std::vector<app::PortEntry>& denied) {
    Tell(app::PermissionAdvice(denied, parts_.state.UiLanguage));
}

void PortChoice::Tell(const QString& advice) {
    if (advice.isEmpty())
        return;
    parts_.dialogs.showMessage({advice, QStringLiteral("Varnel"), MessageButtons::Ok,
                                MessageIcon::Warning, parts_.state.UiLanguage});
}
