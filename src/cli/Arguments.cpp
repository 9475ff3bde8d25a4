#include "Arguments.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>

#include "comm/ParameterSet.h"
#include "comm/SensorRules.h"

#include "firmware/Target.h"

namespace cli {

namespace {

enum class Operands { None, Register, Files };

struct CommandInfo {
    const char* name;
    Command command;
    bool needsPort;
    size_t operands;
    const char* operandText;
    Operands kind = Operands::None;
    size_t optionalOperands = 0;
};

constexpr CommandInfo kCommands[] = {
    {"ports", Command::Ports, false, 0, ""},
    {"find", Command::Find, false, 0, ""},
    {"read", Command::Read, true, 0, ""},
    {"get", Command::Get, true, 1, "KEY", Operands::Register},
    {"set", Command::Set, true, 2, "KEY VALUE", Operands::Register},
    {"commit", Command::Commit, true, 0, ""},
    {"wake", Command::Wake, true, 0, ""},
    {"save", Command::Save, true, 1, "FILE", Operands::Files},
    {"load", Command::Load, true, 1, "FILE", Operands::Files},
    {"show", Command::Show, false, 1, "FILE", Operands::Files},
    {"diff", Command::Diff, false, 1, "FILE", Operands::Files, 1},
    {"stream", Command::Stream, true, 0, ""},
    {"report", Command::Report, true, 0, ""},
    {"apply", Command::Apply, true, 1, "FILE", Operands::Files},
    {"station", Command::Station, true, 1, "FILE", Operands::Files},
};

struct FirmwareInfo {
    const char* name;
    FirmwareAction action;
    bool needsPort;
    bool takesFile;
};

constexpr FirmwareInfo kFirmwareActions[] = {
    {"identify", FirmwareAction::Identify, true, false},
    {"inspect", FirmwareAction::Inspect, false, true},
    {"flash", FirmwareAction::Flash, true, true},
};

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

const CommandInfo* findCommand(const std::string& name) {
    for (const auto& info : kCommands) {
        if (name == info.name)
            return &info;
    }
    return nullptr;
}

// Options may stand anywhere; everything else is the command and its operands.
struct Split {
    bool help = false;
    bool json = false;
    bool yes = false;
    bool commit = false;
    bool again = false;
    std::optional<std::string> comment;
    std::optional<std::string> history;
    std::optional<std::string> since;
    std::optional<std::string> reportDir;
    std::optional<std::string> port;
    std::optional<std::string> chip;
    std::optional<std::string> bootloader;
    std::optional<std::string> lang;
    std::optional<std::string> pdf;
    std::optional<std::string> report;
    bool csv = false;
    bool stats = false;
    std::optional<long> count;
    std::optional<double> seconds;
    std::vector<std::string> positional;
    std::string error;

    std::optional<std::string>* valueOption(const std::string& name) {
        if (name == "--port")
            return &port;
        if (name == "--chip")
            return &chip;
        if (name == "--bootloader")
            return &bootloader;
        if (name == "--lang")
            return &lang;
        if (name == "--pdf")
            return &pdf;
        if (name == "--report")
            return &report;
        if (name == "--history")
            return &history;
        if (name == "--since")
            return &since;
        if (name == "--report-dir")
            return &reportDir;
        return nullptr;
    }
};

bool setValue(Split& split, const std::string& name, std::optional<std::string>& target,
              const std::string& value) {
    if (target)
        split.error = name + " given twice";
    target = value;
    return split.error.empty();
}

// About a year: more would overflow the stream's clock arithmetic.
constexpr double MaxDurationSeconds = 3.0e7;

bool setCount(Split& split, const std::string& value) {
    char* end = nullptr;
    const long count = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0' || count < 1) {
        split.error = "--count needs a number of samples from 1 on";
        return false;
    }
    split.count = count;
    return true;
}

bool setDuration(Split& split, const std::string& value) {
    char* end = nullptr;
    const double seconds = std::strtod(value.c_str(), &end);
    if (value.empty() || *end != '\0' || !(seconds > 0) || seconds > MaxDurationSeconds) {
        split.error = "--duration needs a number of seconds above 0";
        return false;
    }
    split.seconds = seconds;
    return true;
}

bool takeOption(const std::vector<std::string>& args, size_t& i, Split& split) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
        split.help = true;
    } else if (arg == "--json") {
        split.json = true;
    } else if (arg == "--csv") {
        split.csv = true;
    } else if (arg == "--stats") {
        split.stats = true;
    } else if (arg == "--count" || arg == "--duration") {
        if (i + 1 >= args.size()) {
            split.error = arg + " needs a value";
            return false;
        }
        return arg == "--count" ? setCount(split, args[++i]) : setDuration(split, args[++i]);
    } else if (arg == "--yes") {
        split.yes = true;
    } else if (arg == "--commit") {
        split.commit = true;
    } else if (arg == "--again") {
        split.again = true;
    } else if (arg == "--comment") {
        if (i + 1 >= args.size()) {
            split.error = "--comment needs a text";
            return false;
        }
        split.comment = args[++i];
    } else if (auto* target = split.valueOption(arg)) {
        if (i + 1 >= args.size()) {
            split.error = arg + " needs a value";
            return false;
        }
        return setValue(split, arg, *target, args[++i]);
    } else if (const auto equals = arg.find('=');
               equals != std::string::npos && split.valueOption(arg.substr(0, equals))) {
        const std::string name = arg.substr(0, equals);
        return setValue(split, name, *split.valueOption(name), arg.substr(equals + 1));
    } else {
        split.error = "unknown option '" + arg + "'";
        return false;
    }
    return true;
}

const char* const PdfOnlyForReports = "--pdf applies only to report and lin report";
const char* const LangOnlyForSome =
    "--lang applies only to report, apply, station, lin export and lin report";
const char* const StationOptions = "--report-dir and --again apply only to station";
const char* const SinceOnlyForHistory = "--since applies only to history";

// en or de as UiLanguage; nothing for any other text.
std::optional<uint8_t> languageOf(const std::string& text) {
    if (text == "en")
        return uint8_t{0};
    if (text == "de")
        return uint8_t{1};
    return std::nullopt;
}

Split splitArguments(const std::vector<std::string>& args) {
    Split split;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.rfind("--", 0) != 0) {
            if (arg == "-h" && !optionsEnded) {
                split.help = true;
            } else {
                split.positional.push_back(arg);
            }
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (!takeOption(args, i, split)) {
            break;
        }
    }
    return split;
}

bool takesJson(Command command) {
    return command == Command::Ports || command == Command::Find || command == Command::Read ||
           command == Command::Show || command == Command::Diff || command == Command::Stream ||
           command == Command::Apply || command == Command::Station;
}

std::string checkOptions(const CommandInfo& info, const Split& split) {
    if (split.json && !takesJson(info.command))
        return "--json applies only to ports, find, read, show, diff, stream, apply, station and "
               "history";
    const bool stream = info.command == Command::Stream;
    if ((split.csv || split.count || split.seconds || split.stats) && !stream)
        return "--csv, --count, --duration and --stats apply only to stream";
    if (split.count && split.seconds)
        return "--count and --duration exclude each other";
    if (split.json && split.csv)
        return "--json and --csv exclude each other";
    if (split.comment && info.command != Command::Save)
        return "--comment applies only to save";
    if (split.yes && info.command != Command::Load)
        return "--yes applies only to load";
    if (split.commit && info.command != Command::Load && info.command != Command::Apply)
        return "--commit applies only to load, apply and history restore";
    if (split.report && info.command != Command::Apply)
        return "--report applies only to apply";
    if (split.chip || split.bootloader)
        return "--chip and --bootloader apply only to firmware";
    if (split.pdf.has_value() != (info.command == Command::Report))
        return split.pdf ? PdfOnlyForReports : "report needs --pdf FILE";
    const bool reports = info.command == Command::Report || info.command == Command::Apply ||
                         info.command == Command::Station;
    if (split.lang && !reports)
        return LangOnlyForSome;
    if ((split.reportDir || split.again) && info.command != Command::Station)
        return StationOptions;
    if (split.since)
        return SinceOnlyForHistory;
    return {};
}

std::string checkShape(const CommandInfo& info, const Split& split) {
    const std::string name = info.name;
    const size_t operands = split.positional.size() - 1;
    if (operands < info.operands)
        return name + " needs " + info.operandText;
    if (operands > info.operands + info.optionalOperands)
        return "too many arguments for " + name;
    // diff compares with the sensor when it is given one file.
    const bool needsPort = info.needsPort || (info.command == Command::Diff && operands == 1);
    if (needsPort && !split.port)
        return name + " needs --port";
    if (!needsPort && split.port)
        return name + " takes no --port";
    return checkOptions(info, split);
}

ParseResult failure(std::string error) {
    return {std::nullopt, std::move(error)};
}

const FirmwareInfo* findFirmwareAction(const std::string& name) {
    for (const auto& info : kFirmwareActions) {
        if (name == info.name)
            return &info;
    }
    return nullptr;
}

std::string checkFirmwareShape(const FirmwareInfo& info, const Split& split) {
    const std::string name = std::string("firmware ") + info.name;
    const size_t operands = split.positional.size() - 2;
    if (operands != (info.takesFile ? 1u : 0u))
        return info.takesFile ? name + " needs one FILE" : "too many arguments for " + name;
    if (info.needsPort != split.port.has_value())
        return info.needsPort ? name + " needs --port" : name + " takes no --port";
    const bool inspect = info.action == FirmwareAction::Inspect;
    if (inspect != split.chip.has_value())
        return inspect ? name + " needs --chip atmega8515 or atmega162"
                       : "--chip applies only to firmware inspect";
    if (!inspect && (split.json || split.bootloader))
        return "--json and --bootloader apply only to firmware inspect";
    if (split.yes && info.action != FirmwareAction::Flash)
        return "--yes applies only to firmware flash";
    if (split.pdf)
        return PdfOnlyForReports;
    if (split.lang)
        return LangOnlyForSome;
    if (split.reportDir || split.again)
        return StationOptions;
    if (split.since)
        return SinceOnlyForHistory;
    return {};
}

ParseResult parseFirmware(const Split& split) {
    if (split.positional.size() < 2)
        return failure("firmware needs identify, inspect or flash");
    const FirmwareInfo* info = findFirmwareAction(split.positional[1]);
    if (!info)
        return failure("unknown firmware command '" + split.positional[1] + "'");
    if (std::string error = checkFirmwareShape(*info, split); !error.empty())
        return failure(error);
    Invocation invocation;
    invocation.command = Command::Firmware;
    invocation.firmwareAction = info->action;
    invocation.port = split.port.value_or("");
    invocation.json = split.json;
    invocation.yes = split.yes;
    invocation.historyDatabase = split.history;
    invocation.chip = split.chip.value_or("");
    if (split.chip && !firmware::chipByName(invocation.chip))
        return failure("--chip takes atmega8515 or atmega162, not '" + invocation.chip + "'");
    if (info->takesFile)
        invocation.file = split.positional[2];
    if (split.bootloader) {
        const std::string& words = *split.bootloader;
        if (words != "256" && words != "512" && words != "1024")
            return failure("--bootloader takes 256, 512 or 1024 (words), not '" + words + "'");
        invocation.bootloaderWords = std::stoi(words);
    }
    return {invocation, {}};
}

std::optional<int32_t> integer(const std::string& text, int64_t low, int64_t high) {
    int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value < low || value > high)
        return std::nullopt;
    return int32_t(value);
}

struct LinShape {
    const char* name;
    LinAction action;
    size_t fewest;
    size_t most;
    const char* operandText;
};

constexpr LinShape kLinShapes[] = {
    {"get", LinAction::Get, 1, 1, "ADDR"},
    {"set", LinAction::Set, 2, 2, "ADDR VALUE"},
    {"factor", LinAction::Factor, 0, 1, "[VALUE]"},
    {"start", LinAction::Start, 0, 1, "[VALUE]"},
    {"export", LinAction::Export, 1, 1, "FILE"},
    {"report", LinAction::Report, 0, 0, "no operands"},
};

constexpr int32_t StartValueLow = -(1 << 23);
constexpr int32_t StartValueHigh = (1 << 23) - 1;

std::string linValues(LinInvocation& lin, const std::vector<std::string>& operands) {
    const bool addressed = lin.action == LinAction::Get || lin.action == LinAction::Set;
    if (addressed) {
        const auto address = integer(operands[0], ParameterSet::LinTableFirstAddress,
                                     ParameterSet::LinTableLastEntry);
        if (!address)
            return "ADDR must be an integer from 200 to 500";
        lin.address = *address;
    }
    if (lin.action == LinAction::Export) {
        lin.file = operands[0];
        return {};
    }
    const size_t valueAt = addressed ? 1 : 0;
    if (operands.size() <= valueAt)
        return {};
    const bool start = lin.action == LinAction::Start;
    lin.value = start ? integer(operands[valueAt], StartValueLow, StartValueHigh)
                      : integer(operands[valueAt], -128, 255);
    if (!lin.value)
        return start ? "VALUE must be an integer from -8388608 to 8388607"
                     : "VALUE must be an integer from -128 to 255";
    return {};
}

std::string linOptions(LinInvocation& lin, const Split& split) {
    const bool report = lin.action == LinAction::Report;
    if (split.pdf.has_value() != report)
        return report ? "lin report needs --pdf FILE" : PdfOnlyForReports;
    if (report)
        lin.file = *split.pdf;
    if (!split.lang)
        return {};
    if (lin.action != LinAction::Export && !report)
        return LangOnlyForSome;
    const auto language = languageOf(*split.lang);
    if (!language)
        return "--lang takes de or en";
    lin.language = *language;
    return {};
}

ParseResult parseLin(const Split& split) {
    if (split.positional.size() < 2)
        return failure("lin needs get, set, factor, start, export or report");
    const auto shape =
        std::find_if(std::begin(kLinShapes), std::end(kLinShapes),
                     [&](const LinShape& s) { return split.positional[1] == s.name; });
    if (shape == std::end(kLinShapes))
        return failure("unknown lin command '" + split.positional[1] + "'");
    const std::vector<std::string> operands(split.positional.begin() + 2, split.positional.end());
    const std::string name = std::string("lin ") + shape->name;
    if (operands.size() < shape->fewest || operands.size() > shape->most)
        return failure(name + " takes " + shape->operandText);
    if (!split.port)
        return failure(name + " needs --port");
    if (split.json)
        return failure("--json applies only to read, show, diff and firmware inspect");
    if (split.reportDir || split.again)
        return failure(StationOptions);
    if (split.since)
        return failure(SinceOnlyForHistory);
    LinInvocation lin;
    lin.action = shape->action;
    std::string error = linValues(lin, operands);
    if (error.empty())
        error = linOptions(lin, split);
    if (!error.empty())
        return failure(error);
    Invocation invocation;
    invocation.command = Command::Lin;
    invocation.port = *split.port;
    invocation.historyDatabase = split.history;
    invocation.lin = lin;
    return {invocation, {}};
}

struct HistoryShape {
    const char* name;
    HistoryAction action;
    size_t operands;
    const char* operandText;
};

constexpr HistoryShape kHistoryShapes[] = {
    {"show", HistoryAction::Show, 1, "one event ID"},
    {"diff", HistoryAction::Diff, 2, "two event IDs"},
    {"restore", HistoryAction::Restore, 1, "the OLD_FACTORYNUMBER of the sensor taken out"},
};

bool digitsAt(const std::string& text, size_t at, size_t count) {
    if (at + count > text.size())
        return false;
    return std::all_of(text.begin() + long(at), text.begin() + long(at + count),
                       [](unsigned char c) { return std::isdigit(c) != 0; });
}

// 2026-03-01, or a time after it: 2026-03-01T08:30, with seconds, fractions and Z.
bool isHistoryDate(const std::string& text) {
    const bool date = digitsAt(text, 0, 4) && text[4] == '-' && digitsAt(text, 5, 2) &&
                      text[7] == '-' && digitsAt(text, 8, 2);
    if (!date || text.size() == 10)
        return date;
    if (text[10] != 'T' || !digitsAt(text, 11, 2) || text.size() < 16 || text[13] != ':' ||
        !digitsAt(text, 14, 2))
        return false;
    const std::string rest = text.substr(16);
    return std::all_of(rest.begin(), rest.end(), [](unsigned char c) {
        return std::isdigit(c) != 0 || c == ':' || c == '.' || c == 'Z';
    });
}

std::optional<int64_t> eventId(const std::string& text) {
    int64_t id = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, id);
    if (error != std::errc() || stop != end || id < 1)
        return std::nullopt;
    return id;
}

std::string historyOptions(HistoryAction action, const Split& split) {
    const bool restore = action == HistoryAction::Restore;
    if (restore != split.port.has_value())
        return restore ? "history restore needs --port" : "history takes no --port";
    if (split.commit && !restore)
        return "--commit applies only to load, apply and history restore";
    if (split.since && action != HistoryAction::List)
        return "--since applies only to the history list";
    if (split.yes || split.comment || split.csv || split.count || split.chip || split.bootloader ||
        split.pdf || split.report || split.lang || split.reportDir || split.again)
        return "history takes only --json, --since, --history and, to restore, --port and "
               "--commit";
    if (split.since && !isHistoryDate(*split.since))
        return "--since takes a date such as 2026-03-01 or a time such as 2026-03-01T08:30";
    return {};
}

std::string historyOperands(HistoryInvocation& history, const std::vector<std::string>& operands) {
    if (history.action == HistoryAction::Show || history.action == HistoryAction::Diff) {
        for (const std::string& operand : operands) {
            const auto id = eventId(operand);
            if (!id)
                return "'" + operand + "' is no event ID: give the number that history lists";
            history.ids.push_back(*id);
        }
        return {};
    }
    if (operands.empty())
        return {};
    const auto number = rules::NormalisedFactoryNumber(operands[0]);
    if (!number)
        return "'" + operands[0] + "' is no factory number: give one to eight letters or digits";
    history.factoryNumber = *number;
    return {};
}

ParseResult parseHistory(const Split& split) {
    HistoryInvocation history;
    std::vector<std::string> operands(split.positional.begin() + 1, split.positional.end());
    std::string name = "history";
    size_t most = 1;
    size_t fewest = 0;
    const char* operandText = "at most one FACTORYNUMBER";
    if (!operands.empty()) {
        for (const HistoryShape& shape : kHistoryShapes) {
            if (operands[0] != shape.name)
                continue;
            history.action = shape.action;
            name += std::string(" ") + shape.name;
            most = fewest = shape.operands;
            operandText = shape.operandText;
            operands.erase(operands.begin());
            break;
        }
    }
    if (operands.size() < fewest || operands.size() > most)
        return failure(name + " takes " + operandText);
    std::string error = historyOptions(history.action, split);
    if (error.empty())
        error = historyOperands(history, operands);
    if (!error.empty())
        return failure(error);
    history.since = split.since;
    Invocation invocation;
    invocation.command = Command::History;
    invocation.port = split.port.value_or("");
    invocation.json = split.json;
    invocation.commit = split.commit;
    invocation.historyDatabase = split.history;
    invocation.history = history;
    return {invocation, {}};
}

}  // namespace

std::optional<TSSICom::RegisterIndex> findRegister(const std::string& key) {
    const std::string wanted = lower(key);
    for (int r = 0; r < TSSICom::RegisterCount; ++r) {
        const auto index = TSSICom::RegisterIndex(r);
        if (lower(TSSICom::RegisterKey(index)) == wanted)
            return index;
    }
    return std::nullopt;
}

ParseResult parseArguments(const std::vector<std::string>& args) {
    const Split split = splitArguments(args);
    if (!split.error.empty())
        return failure(split.error);
    if (split.help)
        return {Invocation{}, {}};
    if (split.positional.empty())
        return failure("no command given");
    if (split.positional[0] == "firmware")
        return parseFirmware(split);
    if (split.positional[0] == "lin")
        return parseLin(split);
    if (split.positional[0] == "history")
        return parseHistory(split);
    const CommandInfo* info = findCommand(split.positional[0]);
    if (!info)
        return failure("unknown command '" + split.positional[0] + "'");
    if (std::string error = checkShape(*info, split); !error.empty())
        return failure(error);

    Invocation invocation;
    invocation.command = info->command;
    invocation.port = split.port.value_or("");
    invocation.json = split.json;
    invocation.count = split.count;
    invocation.seconds = split.seconds;
    invocation.stats = split.stats;
    if (split.json && info->command == Command::Stream)
        invocation.format = SampleFormat::Json;
    if (split.csv)
        invocation.format = SampleFormat::Csv;
    invocation.yes = split.yes;
    invocation.commit = split.commit;
    invocation.comment = split.comment.value_or("");
    if (info->kind == Operands::Files)
        invocation.files.assign(split.positional.begin() + 1, split.positional.end());
    if (info->kind == Operands::Register) {
        invocation.key = findRegister(split.positional[1]);
        if (!invocation.key)
            return failure("unknown register key '" + split.positional[1] + "'");
    }
    if (info->kind == Operands::Register && info->operands == 2)
        invocation.value = split.positional[2];
    invocation.pdf = split.pdf.value_or(split.report.value_or(""));
    invocation.historyDatabase = split.history;
    invocation.reportDir = split.reportDir.value_or("");
    invocation.again = split.again;
    if (split.lang) {
        const auto language = languageOf(*split.lang);
        if (!language)
            return failure("--lang takes de or en");
        invocation.language = *language;
    }
    return {invocation, {}};
}

bool needsSensor(const Invocation& invocation) {
    switch (invocation.command) {
        case Command::Help:
        case Command::Ports:
        case Command::Find:
        case Command::Show:
            return false;
        case Command::Diff:
            return invocation.files.size() == 1;
        case Command::History:
            return invocation.history->action == HistoryAction::Restore;
        case Command::Firmware:
            return invocation.firmwareAction != FirmwareAction::Inspect;
        default:
            return true;
    }
}

std::string usageText() {
    std::string text =
        "Usage: varnelctl COMMAND [--port P] [--json] [ARGUMENTS]\n"
        "\n"
        "Commands:\n"
        "  ports [--json]             list the COM ports 1-100 whose device exists, with\n"
        "                             what the system knows of each: stable name in\n"
        "                             /dev/serial/by-id, USB ids, vendor, product, serial\n"
        "                             number and driver\n"
        "  find [--json]              try each port that ports lists for a sensor (reads\n"
        "                             only) and print one line per port: the factory number\n"
        "                             and model where one answers; exit 1 when none does\n"
        "  read   --port P [--json]   read and print the whole parameter set\n"
        "  get    --port P KEY        read one register\n"
        "  set    --port P KEY VALUE  write one register and confirm it by reading it back\n"
        "  commit --port P            store the sensor's working set in its EEPROM\n"
        "  wake   --port P            send the wake-up sequence (RTS pulse and PROG lines)\n"
        "  save   --port P FILE [--comment TEXT]\n"
        "                             read the parameter set and save it as a .kyr file\n"
        "  load   --port P FILE [--yes] [--commit]\n"
        "                             show the file's date and text, ask (unless --yes),\n"
        "                             write its parameter set and, with --commit, commit it\n"
        "  apply  --port P FILE [--commit] [--report PDF [--lang de]] [--json]\n"
        "                             load FILE without asking, commit it with --commit,\n"
        "                             read the set back twice (a register again until two\n"
        "                             reads agree) and print each register that differs;\n"
        "                             with --report, write the sensor report when all match;\n"
        "                             exit 0 only when every register the load wrote matches\n"
        "  show   FILE [--json]       print a .kyr file's date, text and values\n"
        "  diff   A.kyr [B.kyr] [--port P] [--json]\n"
        "                             list the registers whose values differ between two\n"
        "                             files, or between a file and the sensor on P\n"
        "  firmware identify --port P ask the sensor's bootloader for its microcontroller\n"
        "  firmware inspect FILE --chip C [--bootloader W] [--json]\n"
        "                             show the image an Intel HEX file gives for chip C\n"
        "                             (atmega8515, atmega162) and a W-word bootloader\n"
        "                             (256, 512, 1024; default 256); exit 1 when it has bad\n"
        "                             lines or is too big\n"
        "  firmware flash FILE --port P [--yes]\n"
        "                             identify, load and download FILE through the bootloader;\n"
        "                             asks first unless --yes; exit 0 only when the bootloader\n"
        "                             confirmed the whole image\n"
        "  lin get    --port P ADDR         read one linearization entry (200-500)\n"
        "  lin set    --port P ADDR VALUE   write one entry and confirm it\n"
        "  lin factor --port P [VALUE]      read or write the factor (address 501)\n"
        "  lin start  --port P [VALUE]      read or write the start value in um\n"
        "  lin export --port P FILE [--lang de]\n"
        "                             write the whole table as the desktop program's export\n"
        "  lin report --port P --pdf FILE [--lang de]\n"
        "                             read the whole table and write the linearity report\n"
        "                             with its chart as a PDF file\n"
        "  report --port P --pdf FILE [--lang de]\n"
        "                             read the parameter set and write the sensor report\n"
        "                             as a PDF file\n"
        "  stream --port P [--count N|--duration S] [--stats] [--json|--csv]\n"
        "                             switch the sensor into its test mode and print one\n"
        "                             line per sample; Ctrl-C, N samples or S seconds\n"
        "                             switch it back\n"
        "  history [FACTORYNUMBER] [--since DATE] [--json]\n"
        "                             list the recorded operations, newest first: of every\n"
        "                             sensor or of one; DATE is 2026-03-01 or 2026-03-01T08:30\n"
        "                             (UTC)\n"
        "  history show ID [--json]   print the set an event recorded as show prints a file\n"
        "  history diff ID1 ID2 [--json]\n"
        "                             list the registers whose values differ between the\n"
        "                             sets of two events\n"
        "  history restore OLD_FACTORYNUMBER --port P [--commit] [--json]\n"
        "                             write the last recorded set of a sensor taken out into\n"
        "                             the sensor on P, which keeps its own factory number,\n"
        "                             firmware, model, length, charge pump, monoflop time and\n"
        "                             the registers a file does not carry; verify it as apply\n"
        "                             does; refused when the firmware type or the sensor\n"
        "                             family differs\n"
        "  station --port P FILE [--report-dir DIR] [--again] [--lang de] [--json]\n"
        "                             wait for a sensor on P, apply FILE with a commit, write\n"
        "                             DIR/FACTORYNUMBER.pdf when all match, print one line per\n"
        "                             sensor, wait for it to go, and again until Ctrl-C; a\n"
        "                             sensor done today is skipped unless --again\n"
        "\n"
        "Options:\n"
        "  --port P  COMn, a port number (1-255) or a device path such as /dev/ttyUSB0\n"
        "            (a number reaches the device the desktop program's settings map it to),\n"
        "            or a serial server: rfc2217://HOST:PORT, socket://HOST:PORT (4800 baud only)\n"
        "  --json    print the output of read, show, diff or firmware inspect as one JSON\n"
        "            object, that of ports and find as one array, or each sample of stream as\n"
        "            {\"position_mm\": ..., \"temperature\": ..., \"raw\": ...}\n"
        "  --csv     print the samples of stream as position_mm,temperature,raw\n"
        "  --count N stop stream after N samples\n"
        "  --duration S\n"
        "            stop stream after S seconds (decimals allowed)\n"
        "  --stats   after the samples of stream, print their statistics: mean, standard\n"
        "            deviation and peak-to-peak in um, minimum and maximum in mm, the\n"
        "            sample rate and the error counts, over all samples and the last 300\n"
        "            (with --json one object, with --csv on standard error)\n"
        "  --pdf F   the PDF file that report and lin report write (replaced whole, or\n"
        "            left as it was when the report cannot be made)\n"
        "  --lang L  the language of lin export's header lines and of the reports\n"
        "            (report, lin report, apply --report, station):\n"
        "            en (default) or de\n"
        "  --history DB  the history database: an SQLite file or\n"
        "            postgresql://user@host/db; default the settings file's HistoryDatabase,\n"
        "            else ~/.local/share/KYR/varnel/history.sqlite. Every operation on a\n"
        "            sensor is recorded there; when the database fails, varnelctl warns once\n"
        "            and goes on\n"
        "  --help    show this text\n"
        "\n"
        "VALUE is decimal or 0x-prefixed hexadecimal; Model takes two letters,\n"
        "FactoryNumber up to eight characters.\n"
        "\n"
        "Exit codes: 0 success; 1 the port cannot be opened, the settings file or a .kyr\n"
        "file cannot be read or written, a report template is missing or the PDF cannot\n"
        "be written, the sensor did not answer or did not confirm, a load was declined,\n"
        "the history database cannot be read, an event is unknown, a restore finds no\n"
        "set or one that does not fit, or a station saw a sensor fail; 2 usage error.\n"
        "Ctrl-C ends stream and station as their normal end.\n"
        "\n"
        "Register keys (case does not matter):\n";
    std::string line = " ";
    for (int r = 0; r < TSSICom::RegisterCount; ++r) {
        const std::string key = TSSICom::RegisterKey(TSSICom::RegisterIndex(r));
        if (line.size() + key.size() + 1 > 78) {
            text.append(line).append("\n");
            line.assign(1, ' ');
        }
        line.append(" ").append(key);
    }
    return text.append(line).append("\n");
}

}  // namespace cli
