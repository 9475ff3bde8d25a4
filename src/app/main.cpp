#include <iostream>
#include <string_view>

#include "app/Program.h"
#include "app/VarnelApplication.h"
#include "platform/Clock.h"
#include "platform/PortDescription.h"
#include "platform/PortMonitor.h"
#include "platform/SerialPortRouter.h"
#include "ui/QtDialogs.h"

int main(int argc, char** argv) {
    // Answered before the toolkit starts, so that it needs no display.
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::cout << "varnel " VARNEL_BUILD_VERSION "\n";
        return 0;
    }
    VarnelApplication app(argc, argv);
    QtDialogs dialogs;
    platform::SteadyClock clock;
    platform::SerialPortRouter serial;
    platform::SerialPortRouter probe;
    platform::PortMonitor ports;
    const ModemLineWarningHook modemLineWarnings = [&serial](ModemLineWarningReceiver receiver) {
        serial.onModemLineWarning(std::move(receiver));
    };
    return RunVarnel(app, {serial, clock, dialogs, probe, platform::DescribePort, &ports},
                     app.arguments().contains(QStringLiteral("--trace-status")), modemLineWarnings);
}
