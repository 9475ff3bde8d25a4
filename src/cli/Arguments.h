#pragma once

#include <optional>
#include <string>
#include <vector>

#include "comm/Ssicom.h"

namespace cli {

enum class Command {
    Help,
    Ports,
    Find,
    Read,
    Get,
    Set,
    Commit,
    Wake,
    Save,
    Load,
    Show,
    Diff,
    Firmware,
    Lin,
    Stream,
    Report,
    Apply,
    History,
    Station
};

enum class FirmwareAction { Identify, Inspect, Flash };
enum class LinAction { Get, Set, Factor, Start, Export, Report };

// lin get ADDR | set ADDR VALUE | factor [VALUE] | start [VALUE] | export FILE [--lang de]
// | report --pdf FILE [--lang de]
struct LinInvocation {
    LinAction action = LinAction::Get;
    int address = 0;
    std::optional<int32_t> value;  // set, and factor or start when they write
    std::string file;              // export: the text file; report: the PDF file
    uint8_t language = 0;          // export and report: 0 English, 1 German
};

enum class SampleFormat { Text, Json, Csv };

enum class HistoryAction { List, Show, Diff, Restore };

// history [FACTORYNUMBER] [--since DATE] | show ID | diff ID1 ID2 | restore OLD --port P [--commit]
struct HistoryInvocation {
    HistoryAction action = HistoryAction::List;
    std::string factoryNumber;  // list: the sensor, when given; restore: the old sensor
    std::vector<int64_t> ids;   // show: one, diff: two
    std::optional<std::string> since;
};

struct Invocation {
    Command command = Command::Help;
    std::string port;  // as given: "COM3", "3" or a device path
    bool json = false;
    std::optional<TSSICom::RegisterIndex> key;  // get and set
    std::string value;                          // set
    std::vector<std::string> files;             // save, load, show, diff, apply
    std::string comment;                        // save
    bool yes = false;                           // load, firmware flash: without asking
    bool commit = false;                        // load, apply: commit after writing
    FirmwareAction firmwareAction = FirmwareAction::Identify;
    std::string file;           // firmware inspect and flash
    std::string chip;           // firmware inspect: "atmega8515" ...
    int bootloaderWords = 256;  // firmware inspect
    std::optional<LinInvocation> lin;
    std::optional<long> count;                 // stream: samples to print, all when empty
    std::optional<double> seconds;             // stream: how long, instead of a count
    bool stats = false;                        // stream: the statistics at the end
    SampleFormat format = SampleFormat::Text;  // stream
    std::string pdf;                           // report; apply: --report
    uint8_t language = 0;                      // report, apply, station: 0 English, 1 German
    // The history database: --history, else the settings file's, else the default.
    std::optional<std::string> historyDatabase;
    std::optional<HistoryInvocation> history;
    std::string reportDir;  // station
    bool again = false;     // station: also sensors done today
};

// Whether the command talks to a sensor; diff does with one file only.
bool needsSensor(const Invocation& invocation);

struct ParseResult {
    std::optional<Invocation> invocation;
    std::string error;  // set when invocation is empty
};

// The arguments after the program name.
ParseResult parseArguments(const std::vector<std::string>& args);

// Register key as in the register table, ignoring case.
std::optional<TSSICom::RegisterIndex> findRegister(const std::string& key);

std::string usageText();

}  // namespace cli
