#include "app/Program.h"
#include "app/VarnelApplication.h"
#include "platform/Clock.h"
#include "platform/TermiosSerialBackend.h"
#include "ui/QtDialogs.h"

int main(int argc, char** argv) {
    VarnelApplication app(argc, argv);
    QtDialogs dialogs;
    platform::SteadyClock clock;
    platform::TermiosSerialBackend serial;
    platform::TermiosSerialBackend probe;
    return RunVarnel(app, {serial, clock, dialogs, probe},
                     app.arguments().contains(QStringLiteral("--trace-status")));
}
