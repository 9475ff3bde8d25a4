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
#include "HistoryCommands.h"
#include "HistoryLog.h"
#include "Interrupt.h"
#include "LinCommands.h"
#include "PortChoice.h"
#include "PortCommands.h"
#include "ReportPdf.h"
#include "StationCommand.h"
#include "StreamCommand.h"
#include "history/Location.h"
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

// The history database of this run, and how messages name it.
struct History {
    std::unique_ptr<history::HistoryStore> store;
    std::string database;
};

// Without a readable settings file the history commands fail; the others go on
// unrecorded after a warning, since the sensor needs no settings.
std::optional<History> openHistory(const Invocation& invocation, std::ostream& err) {
    std::string problem;
    const auto location = historyLocation(invocation.historyDatabase, problem);
    if (location)
        return History{history::OpenStore(*location), history::DescribeLocation(*location)};
    if (invocation.command == Command::History) {
        err << "varnelctl: " << problem << "\n";
        return std::nullopt;
    }
    err << "varnelctl: warning: " << problem << "; nothing is recorded in the history\n";
    return History{};
}

int runFirmware(TSSICom& com, platform::Clock& clock, const Invocation& invocation,
                std::ostream& out, std::ostream& err, bool terminal, OperationLog* log) {
    FirmwareCommands firmware(out, err, terminal, log);
    if (invocation.firmwareAction == FirmwareAction::Flash)
        return firmware.flash(com, clock, invocation, std::cin);
    return firmware.identify(com, clock);
}

// `terminal`: stdout is one; `errTerminal`: stderr is one, for progress drawn in place.
struct Terminals {
    bool out = false;
    bool err = false;
};

int runCommand(TSSICom& com, platform::Clock& clock, const Invocation& invocation,
               const PortChoice& choice, std::ostream& out, std::ostream& err, Terminals terminals,
               HistoryLog& log, History& history) {
    switch (invocation.command) {
        case Command::Save:
        case Command::Load:
        case Command::Diff:
        case Command::Apply:
            return SensorFileCommands(com, choice.label, out, err,
                                      {::isatty(STDIN_FILENO) == 1, &std::cin}, &log)
                .run(invocation);
        case Command::Lin:
            return LinCommands(com, choice.label, out, err, terminals.err, &log)
                .run(*invocation.lin);
        case Command::Stream: {
            catchInterrupts();
            CommandRunner runner(com, choice.label, out, err, &log);
            const StreamRequest request{invocation.count, invocation.seconds, invocation.format,
                                        invocation.stats};
            return runner.stream(request, interrupted);
        }
        case Command::Firmware:
            return runFirmware(com, clock, invocation, out, err, terminals.out, &log);
        case Command::History:
            return HistoryCommands(*history.store, history.database, out, err)
                .restore(com, choice.label, invocation.history->factoryNumber, invocation.commit,
                         invocation.json, &log);
        default:
            return CommandRunner(com, choice.label, out, err, &log).run(invocation, {});
    }
}

int runStation(TSSICom& com, const Invocation& invocation, const PortChoice& choice,
               std::ostream& out, std::ostream& err, bool errTerminal, HistoryLog& log,
               History& history) {
    StationOptions options{invocation.files.at(0), invocation.reportDir, invocation.language,
                           invocation.again,       invocation.json,      errTerminal};
    return StationCommand(com, choice.label, out, err, &log, history.store.get())
        .run(choice.number, options);
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
    std::optional<History> history = openHistory(invocation, err);
    if (!history)
        return FileFailure;
    // The commands' messages pass through the log, which records a failure with them.
    MessageCapture messages(err);
    std::ostream loggedErr(&messages);
    HistoryLog log(history->store.get(), err);
    log.attach(com, choice.label, &messages);
    const Terminals terminals{terminal, &err == &std::cerr && isatty(STDERR_FILENO) == 1};
    if (invocation.command == Command::Station)
        return runStation(com, invocation, choice, out, loggedErr, terminals.err, log, *history);
    if (!openPort(com, choice, ports, err))
        return SensorFailure;
    if (invocation.command == Command::Set)
        return CommandRunner(com, choice.label, out, loggedErr, &log).run(invocation, input);
    return runCommand(com, clock, invocation, choice, out, loggedErr, terminals, log, *history);
}

// Reports are laid out on pages, which takes an application object.
bool laysOutPages(const Invocation& invocation) {
    return invocation.command == Command::Report ||
           (invocation.command == Command::Apply && !invocation.pdf.empty()) ||
           (invocation.command == Command::Station && !invocation.reportDir.empty()) ||
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
    if (invocation.command == Command::History && !needsSensor(invocation)) {
        std::optional<History> history = openHistory(invocation, err);
        if (!history)
            return FileFailure;
        return HistoryCommands(*history->store, history->database, out, err)
            .run(*invocation.history, invocation.json);
    }
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
