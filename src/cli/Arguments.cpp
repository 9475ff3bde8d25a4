#include "Arguments.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "comm/ParameterSet.h"

namespace cli {

namespace {

struct CommandInfo {
    const char* name;
    Command command;
    bool needsPort;
    size_t operands;
    const char* operandText;
};

constexpr CommandInfo kCommands[] = {
    {"ports", Command::Ports, false, 0, ""},  {"read", Command::Read, true, 0, ""},
    {"get", Command::Get, true, 1, "KEY"},    {"set", Command::Set, true, 2, "KEY VALUE"},
    {"commit", Command::Commit, true, 0, ""}, {"wake", Command::Wake, true, 0, ""},
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
    std::optional<std::string> port;
    std::optional<std::string> lang;
    std::vector<std::string> positional;
    std::string error;
};

bool setPort(Split& split, const std::string& value) {
    if (split.port)
        split.error = "--port given twice";
    split.port = value;
    return split.error.empty();
}

bool takeOption(const std::vector<std::string>& args, size_t& i, Split& split) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
        split.help = true;
    } else if (arg == "--json") {
        split.json = true;
    } else if (arg == "--port") {
        if (i + 1 >= args.size()) {
            split.error = "--port needs a value";
            return false;
        }
        return setPort(split, args[++i]);
    } else if (arg.rfind("--port=", 0) == 0) {
        return setPort(split, arg.substr(7));
    } else if (arg == "--lang") {
        if (i + 1 >= args.size()) {
            split.error = "--lang needs a value";
            return false;
        }
        split.lang = args[++i];
    } else {
        split.error = "unknown option '" + arg + "'";
        return false;
    }
    return true;
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

std::string checkShape(const CommandInfo& info, const Split& split) {
    const std::string name = info.name;
    const size_t operands = split.positional.size() - 1;
    if (operands < info.operands)
        return name + " needs " + info.operandText;
    if (operands > info.operands)
        return "too many arguments for " + name;
    if (info.needsPort && !split.port)
        return name + " needs --port";
    if (!info.needsPort && split.port)
        return name + " takes no --port";
    if (split.json && info.command != Command::Read)
        return "--json applies only to read";
    return {};
}

ParseResult failure(std::string error) {
    return {std::nullopt, std::move(error)};
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
    {"get", LinAction::Get, 1, 1, "ADDR"},          {"set", LinAction::Set, 2, 2, "ADDR VALUE"},
    {"factor", LinAction::Factor, 0, 1, "[VALUE]"}, {"start", LinAction::Start, 0, 1, "[VALUE]"},
    {"export", LinAction::Export, 1, 1, "FILE"},
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

std::string linLanguage(LinInvocation& lin, const Split& split) {
    if (!split.lang)
        return {};
    if (lin.action != LinAction::Export)
        return "--lang applies only to lin export";
    if (*split.lang != "de" && *split.lang != "en")
        return "--lang takes de or en";
    lin.language = *split.lang == "de" ? 1 : 0;
    return {};
}

ParseResult parseLin(const Split& split) {
    if (split.positional.size() < 2)
        return failure("lin needs get, set, factor, start or export");
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
        return failure("--json applies only to read");
    LinInvocation lin;
    lin.action = shape->action;
    std::string error = linValues(lin, operands);
    if (error.empty())
        error = linLanguage(lin, split);
    if (!error.empty())
        return failure(error);
    Invocation invocation;
    invocation.command = Command::Lin;
    invocation.port = *split.port;
    invocation.lin = lin;
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
    if (split.positional[0] == "lin")
        return parseLin(split);
    if (split.lang)
        return failure("--lang applies only to lin export");
    const CommandInfo* info = findCommand(split.positional[0]);
    if (!info)
        return failure("unknown command '" + split.positional[0] + "'");
    if (std::string error = checkShape(*info, split); !error.empty())
        return failure(error);

    Invocation invocation;
    invocation.command = info->command;
    invocation.port = split.port.value_or("");
    invocation.json = split.json;
    if (info->operands >= 1) {
        invocation.key = findRegister(split.positional[1]);
        if (!invocation.key)
            return failure("unknown register key '" + split.positional[1] + "'");
    }
    if (info->operands == 2)
        invocation.value = split.positional[2];
    return {invocation, {}};
}

std::string usageText() {
    std::string text =
        "Usage: varnelctl COMMAND [--port P] [--json] [ARGUMENTS]\n"
        "\n"
        "Commands:\n"
        "  ports                      list the COM ports 1-100 whose device exists\n"
        "  read   --port P [--json]   read and print the whole parameter set\n"
        "  get    --port P KEY        read one register\n"
        "  set    --port P KEY VALUE  write one register and confirm it by reading it back\n"
        "  commit --port P            store the sensor's working set in its EEPROM\n"
        "  wake   --port P            send the wake-up sequence (RTS pulse and PROG lines)\n"
        "  lin get    --port P ADDR         read one linearization entry (200-500)\n"
        "  lin set    --port P ADDR VALUE   write one entry and confirm it\n"
        "  lin factor --port P [VALUE]      read or write the factor (address 501)\n"
        "  lin start  --port P [VALUE]      read or write the start value in um\n"
        "  lin export --port P FILE [--lang de]\n"
        "                             write the whole table as the desktop program's export\n"
        "\n"
        "Options:\n"
        "  --port P  COMn, a port number (1-255) or a device path such as /dev/ttyUSB0\n"
        "            (a number reaches the device the desktop program's settings map it to)\n"
        "  --json    print the parameter set of read as one JSON object\n"
        "  --lang L  the language of lin export's header lines: en (default) or de\n"
        "  --help    show this text\n"
        "\n"
        "VALUE is decimal or 0x-prefixed hexadecimal; Model takes two letters,\n"
        "FactoryNumber up to eight characters.\n"
        "\n"
        "Exit codes: 0 success; 1 the port cannot be opened, the settings file cannot\n"
        "be read, or the sensor did not answer or did not confirm; 2 usage error.\n"
        "\n"
        "Register keys (case does not matter):\n";
    std::string line = " ";
    for (int r = 0; r < TSSICom::RegisterCount; ++r) {
        const std::string key = TSSICom::RegisterKey(TSSICom::RegisterIndex(r));
        if (line.size() + key.size() + 1 > 78) {
            text += line + "\n";
            line = " ";
        }
        line += " " + key;
    }
    return text + line + "\n";
}

}  // namespace cli
