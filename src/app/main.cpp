#include "app/Program.h"
#include "app/VarnelApplication.h"
#include "platform/Clock.h"
#include "platform/PortDescription.h"
#include "platform/PortMonitor.h"
#include "platform/TermiosSerialBackend.h"
#include "ui/QtDialogs.h"

int main(int argc, char** argv) {
    VarnelApplication app(argc, argv);
    QtDialogs dialogs;
    platform::SteadyClock clock;
    platform::TermiosSerialBackend serial;
    platform::TermiosSerialBackend probe;
    platform::PortMonitor ports;
    return RunVarnel(app, {serial, clock, dialogs, probe, platform::DescribePort, &ports},
                     app.arguments().contains(QStringLiteral("--trace-status")));
}
