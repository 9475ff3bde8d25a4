#include "Program.h"

#include <csignal>
#include <iostream>
#include <map>
#include <optional>
#include <utility>

#include <unistd.h>

#include "Commands.h"
#include "ExitCode.h"
#include "FileCommands.h"
#include "FirmwareCommands.h"
#include "Interrupt.h"
#include "LinCommands.h"
#include "PortChoice.h"
#include "PortCommands.h"
#include "ReportPdf.h"
#include "StreamCommand.h"
#include "platform/PortListing.h"
#include "platform/SerialPortRouter.h"
#include "settings/Settings.h"

namespace cli {

namespace {

// The explicit entries of the desktop program's settings, so that a port
// number leads both programs to the same device.
std::optional<std::map<int, std::string>> settingsPortMap(std::ostream& err) {
    try {
        SettingsStore settings;
        settings.load();
        return settings.portMap();
    } catch (const SettingsError& error) {
        err << "varnelctl: " << error.what() << "\n";
        return std::nullopt;
    }
}

int listPorts(bool json, std::ostream& out, std::ostream& err) {
    const auto portMap = settingsPortMap(err);
    if (!portMap)
        return FileFailure;
    PrintPorts(ListedPorts(platform::ComPortMap(*portMap)), json, out);
    return Success;
}

int findSensors(bool json, std::ostream& out, std::ostream& err) {
    const auto portMap = settingsPortMap(err);
    if (!portMap)
        return FileFailure;
    const platform::ComPortMap ports(*portMap);
    platform::SteadyClock clock;
    platform::SerialPortRouter backend;
    TSSICom link(backend, clock, ports);
    const InterruptFlag interrupt;
    return SensorFinder(link, out, err).find(ListedPorts(ports), json, &interrupt);
}

volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int) {
    interrupted = 1;
}

// Ctrl-C and a termination request end the stream, which then takes the
// sensor out of its test mode before the program exits.
void catchInterrupts() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int usageError(std::ostream& err, const std::string& message) {
    err << "varnelctl: " << message << "\n";
    return UsageError;
}

bool openPort(TSSICom& com, const PortChoice& choice, const platform::ComPortMap& ports,
              std::ostream& err) {
    if (ports.devicePath(choice.number).empty()) {
        err << "Cannot open " << choice.label << ": no serial device belongs to this number\n";
        return false;
    }
    if (com.OpenDefault(choice.number))
        return true;
    if (choice.label != ports.devicePath(choice.number))
        err << choice.label << ": ";
    err << com.LastError().message << "\n";
    return false;
}

int runFirmware(TSSICom& com, platform::Clock& clock, const Invocation& invocation,
                std::ostream& out, std::ostream& err, bool terminal) {
    FirmwareCommands firmware(out, err, terminal);
    if (invocation.firmwareAction == FirmwareAction::Flash)
        return firmware.flash(com, clock, invocation, std::cin);
    return firmware.identify(com, clock);
}

int runOnPort(const Invocation& invocation, const PortChoice& choice, std::ostream& out,
              std::ostream& err, bool terminal) {
    const platform::ComPortMap ports(choice.explicitPaths);
    platform::SteadyClock clock;
    platform::SerialPortRouter backend;
    backend.onModemLineWarning([&err](const std::string& address) {
        err << "varnelctl: warning: " << address
            << " does not switch modem lines (RTS); the requests are skipped\n";
    });
    TSSICom com(backend, clock, ports);

    std::optional<RegisterInput> input;
    if (invocation.command == Command::Set) {
        const ValueParse parsed = parseRegisterValue(*invocation.key, invocation.value);
        if (!parsed.input)
            return usageError(err, parsed.error);
        input = parsed.input;
    }
    if (!openPort(com, choice, ports, err))
        return SensorFailure;
    switch (invocation.command) {
        case Command::Save:
        case Command::Load:
        case Command::Diff:
        case Command::Apply:
            return SensorFileCommands(com, choice.label, out, err,
                                      {::isatty(STDIN_FILENO) == 1, &std::cin})
                .run(invocation);
        case Command::Lin: {
            const bool stderrTerminal = &err == &std::cerr && isatty(STDERR_FILENO) == 1;
            return LinCommands(com, choice.label, out, err, stderrTerminal).run(*invocation.lin);
        }
        case Command::Stream: {
            catchInterrupts();
            CommandRunner runner(com, choice.label, out, err);
            const StreamRequest request{invocation.count, invocation.seconds, invocation.format,
                                        invocation.stats};
            return runner.stream(request, interrupted);
        }
        case Command::Firmware:
            return runFirmware(com, clock, invocation, out, err, terminal);
        default:
            return CommandRunner(com, choice.label, out, err).run(invocation, input);
    }
}

// Reports are laid out on pages, which takes an application object.
bool laysOutPages(const Invocation& invocation) {
    return invocation.command == Command::Report ||
           (invocation.command == Command::Apply && !invocation.pdf.empty()) ||
           (invocation.command == Command::Lin && invocation.lin->action == LinAction::Report);
}

}  // namespace

int execute(const Invocation& invocation, std::ostream& out, std::ostream& err, bool terminal) {
    std::optional<GuiSession> gui;
    if (laysOutPages(invocation))
        gui.emplace();
    if (invocation.command == Command::Help) {
        out << usageText();
        return Success;
    }
    if (invocation.command == Command::Firmware &&
        invocation.firmwareAction == FirmwareAction::Inspect)
        return FirmwareCommands(out, err, terminal).inspect(invocation);
    if (invocation.command == Command::Ports)
        return listPorts(invocation.json, out, err);
    if (invocation.command == Command::Find)
        return findSensors(invocation.json, out, err);
    if (invocation.command == Command::Show)
        return showFile(invocation.files.at(0), invocation.json, out, err);
    if (!needsSensor(invocation))
        return diffFiles(invocation.files.at(0), invocation.files.at(1), invocation.json, out, err);
    auto choice = resolvePort(invocation.port);
    if (!choice) {
        return usageError(err, "'" + invocation.port +
                                   "' is no port: give COMn, a number from 1 to 255, a "
                                   "device path, rfc2217://HOST:PORT or socket://HOST:PORT");
    }
    if (!isDevicePath(invocation.port)) {
        auto portMap = settingsPortMap(err);
        if (!portMap)
            return FileFailure;
        choice->explicitPaths = std::move(*portMap);
    }
    return runOnPort(invocation, *choice, out, err, terminal);
}

}  // namespace cli
