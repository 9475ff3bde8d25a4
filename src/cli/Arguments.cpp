#include "Arguments.h"

#include <algorithm>
#include <cctype>

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
    {"read", Command::Read, true, 0, ""},
    {"get", Command::Get, true, 1, "KEY", Operands::Register},
    {"set", Command::Set, true, 2, "KEY VALUE", Operands::Register},
    {"commit", Command::Commit, true, 0, ""},
    {"wake", Command::Wake, true, 0, ""},
    {"save", Command::Save, true, 1, "FILE", Operands::Files},
    {"load", Command::Load, true, 1, "FILE", Operands::Files},
    {"show", Command::Show, false, 1, "FILE", Operands::Files},
    {"diff", Command::Diff, false, 1, "FILE", Operands::Files, 1},
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
    std::optional<std::string> comment;
    std::optional<std::string> port;
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
    } else if (arg == "--yes") {
        split.yes = true;
    } else if (arg == "--commit") {
        split.commit = true;
    } else if (arg == "--comment") {
        if (i + 1 >= args.size()) {
            split.error = "--comment needs a text";
            return false;
        }
        split.comment = args[++i];
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

bool takesJson(Command command) {
    return command == Command::Read || command == Command::Show || command == Command::Diff;
}

std::string checkOptions(const CommandInfo& info, const Split& split) {
    if (split.json && !takesJson(info.command))
        return "--json applies only to read, show and diff";
    if (split.comment && info.command != Command::Save)
        return "--comment applies only to save";
    if ((split.yes || split.commit) && info.command != Command::Load)
        return std::string(split.yes ? "--yes" : "--commit") + " applies only to load";
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
    return {invocation, {}};
}

bool needsSensor(const Invocation& invocation) {
    switch (invocation.command) {
        case Command::Help:
        case Command::Ports:
        case Command::Show:
            return false;
        case Command::Diff:
            return invocation.files.size() == 1;
        default:
            return true;
    }
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
        "  save   --port P FILE [--comment TEXT]\n"
        "                             read the parameter set and save it as a .kyr file\n"
        "  load   --port P FILE [--yes] [--commit]\n"
        "                             show the file's date and text, ask (unless --yes),\n"
        "                             write its parameter set and, with --commit, commit it\n"
        "  show   FILE [--json]       print a .kyr file's date, text and values\n"
        "  diff   A.kyr [B.kyr] [--port P] [--json]\n"
        "                             list the registers whose values differ between two\n"
        "                             files, or between a file and the sensor on P\n"
        "\n"
        "Options:\n"
        "  --port P  COMn, a port number (1-255) or a device path such as /dev/ttyUSB0\n"
        "            (a number reaches the device the desktop program's settings map it to)\n"
        "  --json    print the output of read, show or diff as one JSON object\n"
        "  --help    show this text\n"
        "\n"
        "VALUE is decimal or 0x-prefixed hexadecimal; Model takes two letters,\n"
        "FactoryNumber up to eight characters.\n"
        "\n"
        "Exit codes: 0 success; 1 the port cannot be opened, the settings file or a .kyr\n"
        "file cannot be read or written, the sensor did not answer or did not confirm,\n"
        "or a load was declined; 2 usage error.\n"
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
