#include "sim/tools/SimOptions.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>

#include "sim/SimulatedSensor.h"

namespace sim {

namespace {

// The sensor settings are applied over the preset, whatever the order on the line.
struct SensorChoices {
    std::string preset = "qh";
    std::optional<std::string> model;
    std::optional<int> firmware;
    std::optional<std::string> factoryNumber;
    std::optional<int> magnetPositionUm;
    std::optional<std::string> chip;
    int streamStepUm = 0;
    bool asleep = false;
    bool noPace = false;
};

using Error = std::string;

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    return text;
}

bool allOf(const std::string& text, int (*accepts)(int)) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [&](unsigned char c) { return accepts(c) != 0; });
}

std::optional<Error> positive(const std::string& text, int& value) {
    if (!allOf(text, isdigit) || text.size() > 9 || std::stoi(text) < 1)
        return "expects a whole number of at least 1, not \"" + text + "\"";
    value = std::stoi(text);
    return std::nullopt;
}

std::optional<Error> micrometres(const std::string& text, SensorChoices& choices) {
    if (!allOf(text, isdigit) || text.size() > 9)
        return "expects a whole number of micrometres, not \"" + text + "\"";
    choices.magnetPositionUm = std::stoi(text);
    return std::nullopt;
}

std::optional<Error> streamStep(const std::string& text, SensorChoices& choices) {
    if (!allOf(text, isdigit) || text.size() > 9)
        return "expects a whole number of micrometres, not \"" + text + "\"";
    choices.streamStepUm = std::stoi(text);
    return std::nullopt;
}

std::optional<Error> seconds(const std::string& text, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(value > 0))
        return "expects a number of seconds above 0, not \"" + text + "\"";
    return std::nullopt;
}

std::optional<Error> model(const std::string& text, SensorChoices& choices) {
    if (text.size() != 2 || !allOf(text, isalpha))
        return "expects two letters, not \"" + text + "\"";
    choices.model = upper(text);
    return std::nullopt;
}

std::optional<Error> firmware(const std::string& text, SensorChoices& choices) {
    if (text.size() != 7 || !allOf(text, isdigit) || text[0] == '0')
        return "expects a seven-digit version such as 3960105, not \"" + text + "\"";
    choices.firmware = std::stoi(text);
    return std::nullopt;
}

std::optional<Error> factoryNumber(const std::string& text, SensorChoices& choices) {
    if (text.size() > 8 || !allOf(text, isalnum))
        return "expects up to eight letters or digits, not \"" + text + "\"";
    choices.factoryNumber = upper(text);
    return std::nullopt;
}

std::optional<Error> chip(const std::string& text, SensorChoices& choices) {
    if (!FlashMemory::forChip(upper(text)))
        return "expects A, B or C and then X, Y or Z, such as BX, not \"" + text + "\"";
    choices.chip = upper(text);
    return std::nullopt;
}

std::optional<Error> answers(const std::string& text, std::string& target) {
    if (text.empty())
        return Error("expects one character per message, such as fffffr");
    target = text;
    return std::nullopt;
}

std::optional<Error> preset(const std::string& text, SensorChoices& choices) {
    if (!presetConfig(text))
        return "knows no preset \"" + text + "\"";
    choices.preset = text;
    return std::nullopt;
}

SensorConfig sensorConfig(const SensorChoices& choices) {
    SensorConfig config = *presetConfig(choices.preset);
    if (choices.model)
        config.model = *choices.model;
    if (choices.firmware)
        config.firmwareVersion = *choices.firmware;
    if (choices.factoryNumber)
        config.factoryNumber = *choices.factoryNumber;
    if (choices.magnetPositionUm)
        config.magnetPositionUm = *choices.magnetPositionUm;
    if (choices.chip)
        config.chip = *choices.chip;
    config.streamStepUm = choices.streamStepUm;
    config.startsAwake = !choices.asleep;
    config.paced = !choices.noPace;
    return config;
}

using ValueOption = std::function<std::optional<Error>(const std::string&)>;
using FlagOption = std::function<void()>;

struct Parser {
    SimOptions options;
    SensorChoices choices;
    std::map<std::string, ValueOption> values{
        {"--link", [this](const std::string& v) { return path(v, options.linkPath); }},
        {"--state", [this](const std::string& v) { return path(v, options.statePath); }},
        {"--log", [this](const std::string& v) { return path(v, options.logPath); }},
        {"--model", [this](const std::string& v) { return model(v, choices); }},
        {"--firmware", [this](const std::string& v) { return firmware(v, choices); }},
        {"--factory-number", [this](const std::string& v) { return factoryNumber(v, choices); }},
        {"--preset", [this](const std::string& v) { return preset(v, choices); }},
        {"--position", [this](const std::string& v) { return micrometres(v, choices); }},
        {"--chip", [this](const std::string& v) { return chip(v, choices); }},
        {"--bootloader-answers",
         [this](const std::string& v) { return answers(v, options.faults.bootloaderAnswers); }},
        {"--stream-step", [this](const std::string& v) { return streamStep(v, choices); }},
        {"--drop-every",
         [this](const std::string& v) { return positive(v, options.faults.dropEveryNthReply); }},
        {"--corrupt-every",
         [this](const std::string& v) { return positive(v, options.faults.corruptEveryNthReply); }},
        {"--unplug-after",
         [this](const std::string& v) { return seconds(v, options.unplugAfterSeconds); }},
    };
    std::map<std::string, FlagOption> flags{
        {"--silent", [this] { options.faults.silent = true; }},
        {"--asleep", [this] { choices.asleep = true; }},
        {"--no-pace", [this] { choices.noPace = true; }},
        {"--help", [this] { options.help = true; }},
        {"--version", [this] { options.version = true; }},
    };

    static std::optional<Error> path(const std::string& value, std::string& target) {
        if (value.empty())
            return Error("expects a path");
        target = value;
        return std::nullopt;
    }

    std::optional<Error> parse(const std::vector<std::string>& args) {
        for (size_t i = 0; i < args.size(); ++i) {
            const std::string& arg = args[i];
            const size_t equals = arg.find('=');
            const std::string name = arg.substr(0, equals);
            if (auto flag = flags.find(name); flag != flags.end() && equals == std::string::npos) {
                flag->second();
                continue;
            }
            const auto option = values.find(name);
            if (option == values.end())
                return "unknown option \"" + arg + "\"";
            if (equals == std::string::npos && i + 1 == args.size())
                return name + " expects a value";
            const std::string value =
                equals == std::string::npos ? args[++i] : arg.substr(equals + 1);
            if (auto error = option->second(value))
                return name + " " + *error;
        }
        options.sensor = sensorConfig(choices);
        return std::nullopt;
    }
};

}  // namespace

std::variant<SimOptions, std::string> parseSimOptions(const std::vector<std::string>& args) {
    Parser parser;
    if (auto error = parser.parse(args))
        return *error;
    return parser.options;
}

std::string simUsage() {
    std::string presets;
    for (const auto& name : presetNames())
        presets += (presets.empty() ? "" : ", ") + name;
    return "Usage: varnel-sensor-sim [OPTION]...\n"
           "Runs a simulated position sensor behind a pseudo-terminal until interrupted.\n"
           "Prints the terminal's device path as the first line of output.\n"
           "\n"
           "  --link PATH            also reach the terminal through the symbolic link PATH\n"
           "  --preset NAME          kind of sensor: " +
           presets +
           " (default qh)\n"
           "  --model XX             two model letters (QH, QP, KB, BP ...)\n"
           "  --firmware NNNNNNN     seven-digit firmware version\n"
           "  --factory-number TEXT  factory number, up to eight letters or digits\n"
           "  --position UM          the magnet's position in micrometres from the rod's start\n"
           "  --stream-step UM       in test mode move the magnet UM micrometres per record,\n"
           "                         back and forth between the rod's ends\n"
           "  --chip XY              A (ATMega8), B (ATMega8515) or C (ATMega162), then the\n"
           "                         bootloader's X (256), Y (512) or Z (1024 words); default BX\n"
           "  --state FILE           keep EEPROM, factory set, linearization table and the\n"
           "                         written flash pages in FILE\n"
           "  --log FILE             write every command and reply with time and baud rate\n"
           "  --no-pace              send replies at once instead of at the line's baud rate\n"
           "  --asleep               answer only after the \"PROG\" wake-up lines\n"
           "  --silent               answer nothing\n"
           "  --drop-every N         leave every N-th reply out\n"
           "  --corrupt-every N      corrupt every N-th reply\n"
           "  --bootloader-answers TEXT  answer the bootloader's messages with these characters\n"
           "                         in turn (r, b, c, f, ... and . for none), then by itself\n"
           "  --unplug-after SECONDS close the terminal after SECONDS and exit\n"
           "  --help                 show this text\n"
           "  --version              show the version\n";
}

}  // namespace sim
