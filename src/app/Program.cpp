#include "app/Program.h"

#include <QScopeGuard>
#include <cstdio>
#include <exception>
#include <memory>

#include "app/Main.h"
#include "app/ProgramInfo.h"
#include "app/Startup.h"
#include "app/VarnelApplication.h"
#include "history/Location.h"
#include "history/Recorder.h"
#include "platform/ComPortMap.h"
#include "settings/Settings.h"
#include "ui/Dialogs.h"

namespace {

// What the window needs of the settings before it exists.
struct EarlySettings {
    platform::ComPortMap ports;
    std::string historyDatabase;  // empty: the default SQLite file
};

EarlySettings readEarlySettings(SettingsStore& settings) {
    settings.open();
    EarlySettings early{platform::ComPortMap(settings.portMap()),
                        settings.readText(SettingsStore::HistoryDatabase).toStdString()};
    settings.close();
    return early;
}

// The warning stays in the status line until the connection monitor's next change.
void receiveModemLineWarnings(const ModemLineWarningHook& hook, TMainForm& form) {
    if (!hook)
        return;
    hook([&form](const std::string& address) {
        form.ShowStatus(app::Status::ModemLinesSkipped, QString::fromStdString(address));
    });
}

int runWindow(VarnelApplication& app, ProgramServices services, bool traceStatus,
              SettingsStore& settings, const ModemLineWarningHook& modemLineWarnings) {
    const EarlySettings early = readEarlySettings(settings);
    // A database that cannot be opened still gives a store: its calls fail with
    // the reason, which the window shows, and the work on the sensor goes on.
    const std::unique_ptr<history::HistoryStore> store = history::OpenStore(early.historyDatabase);
    history::Recorder recorder(store.get(),
                               history::ThisAccount("varnel", BuildVersion.toStdString()));
    services.historyStore = store.get();
    services.recorder = &recorder;
    TMainForm form(services, early.ports, settings);
    receiveModemLineWarnings(modemLineWarnings, form);
    const auto unhook = qScopeGuard([&] {
        if (modemLineWarnings)
            modemLineWarnings({});
    });
    if (traceStatus)
        form.Trace = [](const QString& line) { std::fprintf(stderr, "%s\n", qPrintable(line)); };
    services.dialogs.setParentWindow(&form);
    const auto unparent = qScopeGuard([&] { services.dialogs.setParentWindow(nullptr); });
    app.SetStartingUp(true);
    const bool windowUp = Startup(form.StartupWiring()).Run();
    app.SetStartingUp(false);
    if (app.StartupFailed())
        return 1;
    if (!windowUp)
        return 0;
    return app.exec();
}

}  // namespace

int RunVarnel(VarnelApplication& app, ProgramServices services, bool traceStatus,
              const ModemLineWarningHook& modemLineWarnings) {
    app.ReportErrorsThrough(&services.dialogs);
    const auto stopReporting = qScopeGuard([&app] { app.ReportErrorsThrough(nullptr); });
    try {
        SettingsStore settings;
        return runWindow(app, services, traceStatus, settings, modemLineWarnings);
    } catch (const std::exception& error) {
        app.SetStartingUp(false);
        app.ShowError(QString::fromUtf8(error.what()));
        return 1;
    }
}
