#include "Arguments.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

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
    {"stream", Command::Stream, true, 0, ""},
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
    bool csv = false;
    std::optional<std::string> port;
    std::optional<long> count;
    std::vector<std::string> positional;
    std::string error;
};

bool setPort(Split& split, const std::string& value) {
    if (split.port)
        split.error = "--port given twice";
    split.port = value;
    return split.error.empty();
}

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

bool takeOption(const std::vector<std::string>& args, size_t& i, Split& split) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
        split.help = true;
    } else if (arg == "--json") {
        split.json = true;
    } else if (arg == "--csv") {
        split.csv = true;
    } else if (arg == "--count") {
        if (i + 1 >= args.size()) {
            split.error = "--count needs a value";
            return false;
        }
        return setCount(split, args[++i]);
    } else if (arg == "--port") {
        if (i + 1 >= args.size()) {
            split.error = "--port needs a value";
            return false;
        }
        return setPort(split, args[++i]);
    } else if (arg.rfind("--port=", 0) == 0) {
        return setPort(split, arg.substr(7));
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
    const bool stream = info.command == Command::Stream;
    if (split.json && info.command != Command::Read && !stream)
        return "--json applies only to read and stream";
    if ((split.csv || split.count) && !stream)
        return "--csv and --count apply only to stream";
    if (split.json && split.csv)
        return "--json and --csv exclude each other";
    return {};
}

ParseResult failure(std::string error) {
    return {std::nullopt, std::move(error)};
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
    if (split.json)
        invocation.format = SampleFormat::Json;
    if (split.csv)
        invocation.format = SampleFormat::Csv;
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
        "  stream --port P [--count N] [--json|--csv]\n"
        "                             switch the sensor into its test mode and print one\n"
        "                             line per sample; Ctrl-C or N samples switch it back\n"
        "\n"
        "Options:\n"
        "  --port P  COMn, a port number (1-255) or a device path such as /dev/ttyUSB0\n"
        "            (a number reaches the device the desktop program's settings map it to)\n"
        "  --json    print the parameter set of read as one JSON object, or each sample\n"
        "            of stream as {\"position_mm\": ..., \"temperature\": ..., \"raw\": ...}\n"
        "  --csv     print the samples of stream as position_mm,temperature,raw\n"
        "  --count N stop stream after N samples\n"
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
