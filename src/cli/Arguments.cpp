#include "Arguments.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <sstream>

#include "comm/ParameterSet.h"
#include "comm/SensorRules.h"

#include "firmware/Target.h"

namespace cli {

namespace {

// The options a command takes, as a set of bits. Every command takes --history and --help.
enum OptionBit : unsigned {
    Port = 1u << 0,
    Json = 1u << 1,
    Csv = 1u << 2,
    Count = 1u << 3,
    Duration = 1u << 4,
    Stats = 1u << 5,
    Yes = 1u << 6,
    Commit = 1u << 7,
    Comment = 1u << 8,
    Chip = 1u << 9,
    Bootloader = 1u << 10,
    Pdf = 1u << 11,
    Report = 1u << 12,
    Lang = 1u << 13,
    Since = 1u << 14,
    ReportDir = 1u << 15,
    Again = 1u << 16,
};

// What the parser fills in.
struct Values {
    std::optional<std::string> port;
    std::optional<std::string> history;
    std::optional<std::string> comment;
    std::optional<std::string> chip;
    std::optional<std::string> pdf;
    std::optional<std::string> report;
    std::optional<std::string> lang;
    std::optional<std::string> since;
    std::optional<std::string> reportDir;
    std::optional<int> bootloader;
    std::optional<long> count;
    std::optional<double> seconds;
    bool json = false;
    bool csv = false;
    bool stats = false;
    bool yes = false;
    bool commit = false;
    bool again = false;
};

enum class Operand { Text, File, Key, Address, Byte, StartValue, EventId, FactoryNumber };

struct OperandInfo {
    const char* name = nullptr;
    Operand kind = Operand::Text;
};

struct Leaf {
    const char* path;
    Command command;
    int action;  // FirmwareAction, LinAction or HistoryAction
    unsigned options;
    OperandInfo operands[2];
    size_t fewest;
    const char* operandText;  // in the message about a wrong number of operands
    const char* description;
};

// --port where a command talks to a sensor; diff does with one file only.
constexpr unsigned Sensor = Port;
constexpr unsigned Reports = Port | Lang;
constexpr unsigned PortWithOneFile = 1u << 17;
constexpr OperandInfo File{"FILE", Operand::File};
constexpr int List = int(HistoryAction::List);

// clang-format off
const Leaf kLeaves[] = {
    {"ports", Command::Ports, 0, Json, {}, 0, "", "list the serial ports and what is known of each"},
    {"find", Command::Find, 0, Json, {}, 0, "", "try each port for a sensor and print who answers"},
    {"read", Command::Read, 0, Sensor | Json, {}, 0, "", "read and print the whole parameter set"},
    {"get", Command::Get, 0, Sensor, {{"KEY", Operand::Key}}, 1, "KEY", "read one register"},
    {"set", Command::Set, 0, Sensor, {{"KEY", Operand::Key}, {"VALUE", Operand::Text}}, 2,
     "KEY VALUE", "write one register and confirm it by reading it back"},
    {"commit", Command::Commit, 0, Sensor, {}, 0, "", "store the working set in the EEPROM"},
    {"wake", Command::Wake, 0, Sensor, {}, 0, "", "send the wake-up sequence"},
    {"save", Command::Save, 0, Sensor | Comment, {File}, 1, "FILE",
     "read the parameter set and save it as a .kyr file"},
    {"load", Command::Load, 0, Sensor | Yes | Commit, {File}, 1, "FILE",
     "write a .kyr file's parameter set, asking first unless --yes"},
    {"apply", Command::Apply, 0, Reports | Json | Commit | Report, {File}, 1, "FILE",
     "load a .kyr file without asking and verify it"},
    {"show", Command::Show, 0, Json, {File}, 1, "FILE", "print a .kyr file's date, text and values"},
    {"diff", Command::Diff, 0, Port | PortWithOneFile | Json,
     {{"A", Operand::File}, {"B", Operand::File}}, 1, "FILE",
     "list the registers that differ between two files, or a file and the sensor"},
    {"firmware identify", Command::Firmware, int(FirmwareAction::Identify), Sensor, {}, 0, "",
     "ask the sensor's bootloader for its microcontroller"},
    {"firmware inspect", Command::Firmware, int(FirmwareAction::Inspect), Chip | Bootloader | Json,
     {File}, 1, "one FILE", "show the image an Intel HEX file gives for a chip"},
    {"firmware flash", Command::Firmware, int(FirmwareAction::Flash), Sensor | Yes, {File}, 1,
     "one FILE", "download an Intel HEX file through the bootloader"},
    {"lin get", Command::Lin, int(LinAction::Get), Sensor, {{"ADDR", Operand::Address}}, 1, "ADDR",
     "read one linearization entry"},
    {"lin set", Command::Lin, int(LinAction::Set), Sensor,
     {{"ADDR", Operand::Address}, {"VALUE", Operand::Byte}}, 2, "ADDR VALUE",
     "write one linearization entry and confirm it"},
    {"lin factor", Command::Lin, int(LinAction::Factor), Sensor, {{"VALUE", Operand::Byte}}, 0,
     "[VALUE]", "read or write the factor (address 501)"},
    {"lin start", Command::Lin, int(LinAction::Start), Sensor, {{"VALUE", Operand::StartValue}}, 0,
     "[VALUE]", "read or write the start value in um"},
    {"lin export", Command::Lin, int(LinAction::Export), Reports, {File}, 1, "FILE",
     "write the whole table as the desktop program's export"},
    {"lin report", Command::Lin, int(LinAction::Report), Reports | Pdf, {}, 0, "no operands",
     "write the linearity report as a PDF file"},
    {"report", Command::Report, 0, Reports | Pdf, {}, 0, "",
     "read the parameter set and write the sensor report as a PDF file"},
    {"stream", Command::Stream, 0, Sensor | Json | Csv | Count | Duration | Stats, {}, 0, "",
     "print the samples of the sensor's test mode until Ctrl-C"},
    {"history", Command::History, List, Json | Since,
     {{"FACTORYNUMBER", Operand::FactoryNumber}}, 0, "at most one FACTORYNUMBER",
     "list the recorded operations, newest first"},
    {"history show", Command::History, int(HistoryAction::Show), Json, {{"ID", Operand::EventId}},
     1, "one event ID", "print the set an event recorded"},
    {"history diff", Command::History, int(HistoryAction::Diff), Json,
     {{"ID1", Operand::EventId}, {"ID2", Operand::EventId}}, 2, "two event IDs",
     "list the registers that differ between the sets of two events"},
    {"history restore", Command::History, int(HistoryAction::Restore), Port | Json | Commit,
     {{"OLD_FACTORYNUMBER", Operand::FactoryNumber}}, 1,
     "the OLD_FACTORYNUMBER of the sensor taken out",
     "write the last recorded set of a sensor taken out into the one on the port"},
    {"station", Command::Station, 0, Reports | Json | ReportDir | Again, {File}, 1, "FILE",
     "apply a file to each sensor that comes on the port, until Ctrl-C"},
};
// clang-format on

// lin and history tell a wrong number of operands in one message: "lin get takes ADDR";
// the others say "get needs KEY" and "too many arguments for get".
bool countsInOneMessage(const Leaf& leaf) {
    const std::string path = leaf.path;
    return path.rfind("lin ", 0) == 0 || path.rfind("history", 0) == 0;
}

bool needsPort(const Leaf& leaf, size_t operands) {
    if (leaf.options & PortWithOneFile)
        return operands == 1;
    return (leaf.options & Port) != 0;
}

struct Group {
    const char* name;
    const char* description;
    const char* missingAction;
};

constexpr Group kGroups[] = {
    {"firmware", "the sensor's firmware", "firmware needs identify, inspect or flash"},
    {"lin", "the linearization table", "lin needs get, set, factor, start, export or report"},
};

// An option given to a command that does not take it; the first row that names it answers.
struct Scope {
    const char* family;  // the first word of the command, or "" for every command
    const char* options;
    const char* message;  // empty: look further
};

constexpr Scope kScopes[] = {
    {"firmware", "--chip", "--chip applies only to firmware inspect"},
    {"firmware", "--json --bootloader", "--json and --bootloader apply only to firmware inspect"},
    {"firmware", "--yes", "--yes applies only to firmware flash"},
    {"history", "--since", "--since applies only to the history list"},
    {"history", "--port --commit", ""},
    {"history", "*",
     "history takes only --json, --since, --history and, to restore, --port and --commit"},
    {"", "--json",
     "--json applies only to ports, find, read, show, diff, stream, apply, station and history"},
    {"", "--csv --count --duration --stats",
     "--csv, --count, --duration and --stats apply only to stream"},
    {"", "--comment", "--comment applies only to save"},
    {"", "--yes", "--yes applies only to load"},
    {"", "--commit", "--commit applies only to load, apply and history restore"},
    {"", "--report", "--report applies only to apply"},
    {"", "--chip --bootloader", "--chip and --bootloader apply only to firmware"},
    {"", "--pdf", "--pdf applies only to report and lin report"},
    {"", "--lang", "--lang applies only to report, apply, station, lin export and lin report"},
    {"", "--report-dir --again", "--report-dir and --again apply only to station"},
    {"", "--since", "--since applies only to history"},
};

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::optional<int32_t> integer(const std::string& text, int64_t low, int64_t high) {
    int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value < low || value > high)
        return std::nullopt;
    return int32_t(value);
}

std::optional<int64_t> eventId(const std::string& text) {
    int64_t id = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, id);
    if (error != std::errc() || stop != end || id < 1)
        return std::nullopt;
    return id;
}

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

// en or de as UiLanguage; nothing for any other text.
std::optional<uint8_t> languageOf(const std::string& text) {
    if (text == "en")
        return uint8_t{0};
    if (text == "de")
        return uint8_t{1};
    return std::nullopt;
}

constexpr int32_t StartValueLow = -(1 << 23);
constexpr int32_t StartValueHigh = (1 << 23) - 1;
// About a year: more would overflow the stream's clock arithmetic.
constexpr double MaxDurationSeconds = 3.0e7;

// The checks of values as CLI11 runs them: nothing when the value is good, else the message.
using Check = std::string (*)(std::string&);

std::string anything(std::string&) {
    return {};
}

std::string registerKey(std::string& key) {
    return findRegister(key) ? "" : "unknown register key '" + key + "'";
}

std::string linAddress(std::string& text) {
    const bool good =
        integer(text, ParameterSet::LinTableFirstAddress, ParameterSet::LinTableLastEntry)
            .has_value();
    return good ? "" : "ADDR must be an integer from 200 to 500";
}

std::string linByte(std::string& text) {
    return integer(text, -128, 255) ? "" : "VALUE must be an integer from -128 to 255";
}

std::string startValue(std::string& text) {
    return integer(text, StartValueLow, StartValueHigh)
               ? ""
               : "VALUE must be an integer from -8388608 to 8388607";
}

std::string eventIdCheck(std::string& text) {
    return eventId(text) ? "" : "'" + text + "' is no event ID: give the number that history lists";
}

// Also writes the number as the history keeps it.
std::string factoryNumber(std::string& text) {
    const auto number = rules::NormalisedFactoryNumber(text);
    if (!number)
        return "'" + text + "' is no factory number: give one to eight letters or digits";
    text = *number;
    return {};
}

std::string sampleCount(std::string& text) {
    char* end = nullptr;
    const long count = std::strtol(text.c_str(), &end, 10);
    const bool good = !text.empty() && *end == '\0' && count >= 1;
    return good ? "" : "--count needs a number of samples from 1 on";
}

std::string duration(std::string& text) {
    char* end = nullptr;
    const double seconds = std::strtod(text.c_str(), &end);
    const bool good = !text.empty() && *end == '\0' && seconds > 0 && seconds <= MaxDurationSeconds;
    return good ? "" : "--duration needs a number of seconds above 0";
}

std::string chip(std::string& text) {
    return firmware::chipByName(text) ? ""
                                      : "--chip takes atmega8515 or atmega162, not '" + text + "'";
}

std::string bootloaderWords(std::string& text) {
    const bool good = text == "256" || text == "512" || text == "1024";
    return good ? "" : "--bootloader takes 256, 512 or 1024 (words), not '" + text + "'";
}

std::string language(std::string& text) {
    return languageOf(text) ? "" : "--lang takes de or en";
}

std::string historyDate(std::string& text) {
    return isHistoryDate(text)
               ? ""
               : "--since takes a date such as 2026-03-01 or a time such as 2026-03-01T08:30";
}

struct OperandRule {
    Check check;
    const char* description;
};

OperandRule operandRule(Operand kind) {
    switch (kind) {
        case Operand::File:
            return {anything, "the file"};
        case Operand::Key:
            return {registerKey, "a register key as varnelctl --help lists them, in any case"};
        case Operand::Address:
            return {linAddress, "a linearization address from 200 to 500"};
        case Operand::Byte:
            return {linByte, "an integer from -128 to 255"};
        case Operand::StartValue:
            return {startValue, "an integer from -8388608 to 8388607 (um)"};
        case Operand::EventId:
            return {eventIdCheck, "an event ID as history lists it"};
        case Operand::FactoryNumber:
            return {factoryNumber, "a factory number: one to eight letters or digits"};
        default:
            return {anything, "decimal or 0x-prefixed hexadecimal; Model takes two letters"};
    }
}

struct TextOption {
    OptionBit bit;
    const char* name;
    std::optional<std::string> Values::*value;
    const char* typeName;
    Check check;
    const char* description;
};

constexpr TextOption kTextOptions[] = {
    {Port, "--port", &Values::port, "P", anything,
     "COMn, a port number (1-255), a device path, rfc2217://HOST:PORT or socket://HOST:PORT"},
    {Comment, "--comment", &Values::comment, "TEXT", anything, "the file's comment"},
    {Chip, "--chip", &Values::chip, "C", chip, "the microcontroller: atmega8515 or atmega162"},
    {Pdf, "--pdf", &Values::pdf, "FILE", anything, "the PDF file to write"},
    {Report, "--report", &Values::report, "PDF", anything,
     "write the sensor report when all registers match"},
    {Lang, "--lang", &Values::lang, "L", language, "the language of the texts: en (default) or de"},
    {Since, "--since", &Values::since, "DATE", historyDate,
     "only operations from DATE on: 2026-03-01 or 2026-03-01T08:30 (UTC)"},
    {ReportDir, "--report-dir", &Values::reportDir, "DIR", anything, "write DIR/FACTORYNUMBER.pdf"},
};

struct FlagOption {
    OptionBit bit;
    const char* name;
    bool Values::*value;
    const char* description;
};

constexpr FlagOption kFlags[] = {
    {Json, "--json", &Values::json, "print JSON"},
    {Csv, "--csv", &Values::csv, "print the samples as position_mm,temperature,raw"},
    {Stats, "--stats", &Values::stats, "print the samples' statistics at the end"},
    {Yes, "--yes", &Values::yes, "do not ask first"},
    {Commit, "--commit", &Values::commit, "commit the set after writing it"},
    {Again, "--again", &Values::again, "also sensors done today"},
};

CLI::Validator validator(Check check) {
    return CLI::Validator(check, "");
}

void addOptions(CLI::App& app, unsigned options, Values& values) {
    app.add_option("--history", values.history,
                   "the history database: an SQLite file or postgresql://user@host/db")
        ->type_name("DB");
    for (const TextOption& option : kTextOptions) {
        if (options & option.bit)
            app.add_option(option.name, values.*option.value, option.description)
                ->type_name(option.typeName)
                ->check(validator(option.check));
    }
    // The last of these counts when one is given twice; any other value option is refused.
    const auto last = CLI::MultiOptionPolicy::TakeLast;
    if (options & Comment)
        app.get_option("--comment")->multi_option_policy(last);
    for (const FlagOption& flag : kFlags) {
        if (options & flag.bit)
            app.add_flag(flag.name, values.*flag.value, flag.description);
    }
    if (options & Count)
        app.add_option("--count", values.count, "stop after N samples")
            ->type_name("N")
            ->check(validator(sampleCount))
            ->multi_option_policy(last);
    if (options & Duration)
        app.add_option("--duration", values.seconds, "stop after S seconds (decimals allowed)")
            ->type_name("S")
            ->check(validator(duration))
            ->multi_option_policy(last);
    if (options & Bootloader)
        app.add_option("--bootloader", values.bootloader,
                       "the bootloader's words: 256, 512 or 1024")
            ->type_name("W")
            ->check(validator(bootloaderWords));
}

CLI::App& subcommandOf(CLI::App& parent, const std::string& name) {
    const auto found =
        parent.get_subcommands([&](CLI::App* app) { return app->get_name() == name; });
    if (!found.empty())
        return *found.front();
    CLI::App& app = *parent.add_subcommand(name);
    app.allow_extras();
    app.require_subcommand(0, 1);
    for (const Group& group : kGroups) {
        if (name == group.name)
            app.description(group.description);
    }
    return app;
}

bool isOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-' && !std::isdigit(static_cast<unsigned char>(arg[1]));
}

struct Parser {
    CLI::App app{"Configures magnetostrictive SSI position sensors", "varnelctl"};
    Values values;
    std::string operands[std::size(kLeaves)][2];

    Parser() {
        app.allow_extras();
        app.require_subcommand(0, 1);
        for (size_t l = 0; l < std::size(kLeaves); ++l)
            addLeaf(l);
    }

    void addLeaf(size_t l) {
        const Leaf& leaf = kLeaves[l];
        CLI::App* at = &app;
        std::istringstream words(leaf.path);
        for (std::string word; words >> word;)
            at = &subcommandOf(*at, word);
        at->description(leaf.description);
        for (size_t o = 0; o < 2 && leaf.operands[o].name; ++o) {
            const OperandRule rule = operandRule(leaf.operands[o].kind);
            at->add_option(leaf.operands[o].name, operands[l][o], rule.description)
                ->type_name("")
                ->transform(validator(rule.check));
        }
        addOptions(*at, leaf.options, values);
    }

    std::string pathOf(const CLI::App* at) const {
        std::string path;
        for (; at && at != &app; at = at->get_parent())
            path = path.empty() ? at->get_name() : at->get_name() + " " + path;
        return path;
    }

    const CLI::Option* option(const std::string& name) const { return find(app, name); }

    // The first word that is neither an option nor an option's value.
    std::optional<std::string> firstOperand(const std::vector<std::string>& words) const {
        for (size_t i = 0; i < words.size(); ++i) {
            if (!isOption(words[i]))
                return words[i];
            const CLI::Option* named = option(words[i]);
            if (named && named->get_expected_max() > 0 && words[i].find('=') == std::string::npos)
                ++i;
        }
        return std::nullopt;
    }

    static const CLI::Option* find(const CLI::App& at, const std::string& name) {
        if (const CLI::Option* found = at.get_option_no_throw(name))
            return found;
        for (const CLI::App* sub : at.get_subcommands([](const CLI::App*) { return true; })) {
            if (const CLI::Option* found = find(*sub, name))
                return found;
        }
        return nullptr;
    }

    static const CLI::App* child(const CLI::App& at, const std::string& name) {
        const auto found =
            at.get_subcommands([&](const CLI::App* sub) { return sub->get_name() == name; });
        return found.empty() ? nullptr : found.front();
    }

    // Options may stand before the command too; CLI11 wants them after it.
    std::vector<std::string> commandFirst(const std::vector<std::string>& args) const {
        std::vector<std::string> path;
        std::vector<std::string> rest;
        const CLI::App* at = &app;
        bool valueNext = false;
        for (const std::string& arg : args) {
            const CLI::App* sub = at && !valueNext ? child(*at, arg) : nullptr;
            if (sub) {
                path.push_back(arg);
                at = sub;
                continue;
            }
            rest.push_back(arg);
            if (arg == "--") {
                at = nullptr;
            } else if (!valueNext && arg.rfind("--", 0) == 0) {
                const CLI::Option* named = option(arg);
                valueNext = named && named->get_expected_max() > 0;
                continue;
            } else if (!valueNext && arg.rfind("-", 0) != 0 && at != &app) {
                at = nullptr;  // an operand: no command word after it
            }
            valueNext = false;
        }
        path.insert(path.end(), rest.begin(), rest.end());
        return path;
    }
};

ParseResult failure(std::string error) {
    return {std::nullopt, std::move(error)};
}

std::string scopeMessage(const std::string& option, const std::string& path) {
    if (option == "--port")
        return path + " takes no --port";
    std::string family = path.substr(0, path.find(' '));
    for (const Scope& scope : kScopes) {
        if (*scope.family && family != scope.family)
            continue;
        const std::string options = std::string(" ") + scope.options + " ";
        if (options != " * " && options.find(" " + option + " ") == std::string::npos)
            continue;
        if (*scope.message)
            return scope.message;
        family.clear();  // the rows for every command tell
    }
    return "unknown option '" + option + "'";
}

// CLI11's texts in the words varnelctl has always used.
std::string messageOf(const CLI::ParseError& error) {
    const std::string text = error.what();
    const size_t colon = text.find(": ");
    const std::string name = text.substr(0, colon);
    if (dynamic_cast<const CLI::ValidationError*>(&error) && colon != std::string::npos)
        return text.substr(colon + 2);
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) && colon != std::string::npos) {
        if (text.find(" missing", colon) != std::string::npos)
            return name + (name == "--comment" ? " needs a text" : " needs a value");
        return name + " given twice";
    }
    return text;
}

// The first option the command does not take, else the first operand too many.
std::string extraError(const std::vector<std::string>& extras, const Leaf& leaf,
                       const Parser& parser) {
    for (const std::string& extra : extras) {
        if (!isOption(extra))
            continue;
        const std::string name = extra.substr(0, extra.find('='));
        if (name == "--")
            continue;
        if (!parser.option(name))
            return "unknown option '" + extra + "'";
        return scopeMessage(name, leaf.path);
    }
    if (extras.empty())
        return {};
    if (countsInOneMessage(leaf))
        return std::string(leaf.path) + " takes " + leaf.operandText;
    return std::string("too many arguments for ") + leaf.path;
}

std::string shapeError(const Leaf& leaf, size_t operands, const Values& values) {
    const std::string name = leaf.path;
    if (operands < leaf.fewest)
        return name + (countsInOneMessage(leaf) ? " takes " : " needs ") + leaf.operandText;
    const bool port = needsPort(leaf, operands);
    if (port != values.port.has_value())
        return port ? name + " needs --port" : name + " takes no --port";
    if (values.count && values.seconds)
        return "--count and --duration exclude each other";
    if (values.json && values.csv)
        return "--json and --csv exclude each other";
    if ((leaf.options & Pdf) && !values.pdf)
        return name + " needs --pdf FILE";
    if ((leaf.options & Chip) && !values.chip)
        return name + " needs --chip atmega8515 or atmega162";
    return {};
}

Invocation invocationOf(const Leaf& leaf, const std::vector<std::string>& operands,
                        const Values& values) {
    Invocation invocation;
    invocation.command = leaf.command;
    invocation.port = values.port.value_or("");
    invocation.json = values.json;
    invocation.historyDatabase = values.history;
    invocation.count = values.count;
    invocation.seconds = values.seconds;
    invocation.stats = values.stats;
    if (values.json && leaf.command == Command::Stream)
        invocation.format = SampleFormat::Json;
    if (values.csv)
        invocation.format = SampleFormat::Csv;
    invocation.yes = values.yes;
    invocation.commit = values.commit;
    invocation.comment = values.comment.value_or("");
    invocation.pdf = values.pdf.value_or(values.report.value_or(""));
    invocation.reportDir = values.reportDir.value_or("");
    invocation.again = values.again;
    invocation.language = languageOf(values.lang.value_or("en")).value_or(0);
    invocation.chip = values.chip.value_or("");
    invocation.bootloaderWords = values.bootloader.value_or(256);
    const bool inGroup = leaf.command == Command::Firmware || leaf.command == Command::Lin;
    if (leaf.operands[0].kind == Operand::File && !inGroup)
        invocation.files = operands;
    if (leaf.operands[0].kind == Operand::Key)
        invocation.key = findRegister(operands[0]);
    if (leaf.command == Command::Set)
        invocation.value = operands[1];
    if (leaf.command == Command::Firmware) {
        invocation.firmwareAction = FirmwareAction(leaf.action);
        invocation.file = operands.empty() ? "" : operands[0];
    }
    return invocation;
}

LinInvocation linOf(const Leaf& leaf, const std::vector<std::string>& operands,
                    const Values& values) {
    LinInvocation lin;
    lin.action = LinAction(leaf.action);
    lin.language = languageOf(values.lang.value_or("en")).value_or(0);
    const bool addressed = leaf.operands[0].kind == Operand::Address;
    if (addressed)
        lin.address = *integer(operands[0], ParameterSet::LinTableFirstAddress,
                               ParameterSet::LinTableLastEntry);
    if (lin.action == LinAction::Export)
        lin.file = operands[0];
    if (lin.action == LinAction::Report)
        lin.file = *values.pdf;
    const size_t valueAt = addressed ? 1 : 0;
    if (lin.action != LinAction::Export && operands.size() > valueAt)
        lin.value = integer(operands[valueAt], StartValueLow, StartValueHigh);
    return lin;
}

HistoryInvocation historyOf(const Leaf& leaf, const std::vector<std::string>& operands,
                            const Values& values) {
    HistoryInvocation history;
    history.action = HistoryAction(leaf.action);
    history.since = values.since;
    if (leaf.operands[0].kind == Operand::EventId) {
        for (const std::string& operand : operands)
            history.ids.push_back(*eventId(operand));
    } else if (!operands.empty()) {
        history.factoryNumber = operands[0];
    }
    return history;
}

std::string noCommand(const std::vector<std::string>& extras, const Parser& parser) {
    if (const auto word = parser.firstOperand(extras))
        return "unknown command '" + *word + "'";
    for (const std::string& extra : extras) {
        if (isOption(extra) && !parser.option(extra.substr(0, extra.find('='))))
            return "unknown option '" + extra + "'";
    }
    return "no command given";
}

const Leaf* leafAt(const std::string& path) {
    for (const Leaf& leaf : kLeaves) {
        if (path == leaf.path)
            return &leaf;
    }
    return nullptr;
}

const CLI::App* chosen(const CLI::App& app) {
    const CLI::App* at = &app;
    while (!at->get_subcommands().empty())
        at = at->get_subcommands().front();
    return at;
}

std::optional<std::string> groupError(const std::string& path,
                                      const std::vector<std::string>& extras,
                                      const Parser& parser) {
    for (const Group& group : kGroups) {
        if (path != group.name)
            continue;
        if (const auto word = parser.firstOperand(extras))
            return "unknown " + path + " command '" + *word + "'";
        return group.missingAction;
    }
    return std::nullopt;
}

// The usage of the command asked about; the whole usage is printed when none was.
Invocation helpOf(const Parser& parser) {
    Invocation help;
    const CLI::App* at = chosen(parser.app);
    if (at == &parser.app)
        return help;
    const std::string parent = parser.pathOf(at->get_parent());
    help.helpText = at->help(parent.empty() ? "varnelctl" : "varnelctl " + parent);
    return help;
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
    Parser parser;
    std::vector<std::string> reversed = parser.commandFirst(args);
    std::reverse(reversed.begin(), reversed.end());
    try {
        parser.app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        return {helpOf(parser), {}};
    } catch (const CLI::ParseError& error) {
        return failure(messageOf(error));
    }
    const CLI::App* at = chosen(parser.app);
    std::vector<std::string> extras = parser.app.remaining(true);
    // CLI11 keeps the "--" that ended the options among the words it did not take.
    if (const auto mark = std::find(extras.begin(), extras.end(), "--"); mark != extras.end())
        extras.erase(mark);
    if (at == &parser.app)
        return failure(noCommand(extras, parser));
    const std::string path = parser.pathOf(at);
    if (auto error = groupError(path, extras, parser))
        return failure(*error);
    const Leaf& leaf = *leafAt(path);
    const size_t l = size_t(&leaf - kLeaves);
    std::vector<std::string> operands;
    for (size_t o = 0; o < 2 && leaf.operands[o].name; ++o) {
        if (at->get_option(leaf.operands[o].name)->count() > 0)
            operands.push_back(parser.operands[l][o]);
    }
    std::string error = extraError(extras, leaf, parser);
    if (error.empty())
        error = shapeError(leaf, operands.size(), parser.values);
    if (!error.empty())
        return failure(error);
    Invocation invocation = invocationOf(leaf, operands, parser.values);
    if (leaf.command == Command::Lin)
        invocation.lin = linOf(leaf, operands, parser.values);
    if (leaf.command == Command::History)
        invocation.history = historyOf(leaf, operands, parser.values);
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
        "  --help    show this text; COMMAND --help shows one command's options\n"
        "  --version print the program's name and version\n"
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
