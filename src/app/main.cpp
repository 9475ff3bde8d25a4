#include <exception>

#include "app/Main.h"
#include "app/QtDialogs.h"
#include "app/Settings.h"
#include "app/Startup.h"
#include "app/VarnelApplication.h"
#include "platform/Clock.h"
#include "platform/ComPortMap.h"
#include "platform/TermiosSerialBackend.h"

namespace {

// The port map is read before the window exists; a broken file ends the program here.
platform::ComPortMap readPortMap(SettingsStore& settings) {
    settings.open();
    platform::ComPortMap ports(settings.portMap());
    settings.close();
    return ports;
}

}  // namespace

int main(int argc, char** argv) {
    VarnelApplication app(argc, argv);
    QtDialogs dialogs;
    app.ReportErrorsThrough(&dialogs);
    try {
        SettingsStore settings;
        const platform::ComPortMap ports = readPortMap(settings);
        platform::SteadyClock clock;
        platform::TermiosSerialBackend serial;
        app.SetStartingUp(true);
        TMainForm form({serial, clock, ports, dialogs, settings});
        dialogs.setParentWindow(&form);
        Startup(form).Run();
        app.SetStartingUp(false);
        if (app.StartupFailed())
            return 1;
        return app.exec();
    } catch (const std::exception& error) {
        dialogs.setParentWindow(nullptr);
        app.ShowError(QString::fromUtf8(error.what()));
        return 1;
    }
}
