#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "Arguments.h"
#include "OperationLog.h"
#include "comm/Ssicom.h"
#include "files/ParameterFile.h"
#include "station/Apply.h"

namespace cli {

// Reads and decodes a .kyr file; what went wrong goes to `err`, naming the file.
std::optional<files::ParameterFile> readParameterFile(const std::string& path, std::ostream& err);

// show and diff of two files: no sensor involved.
int showFile(const std::string& path, bool json, std::ostream& out, std::ostream& err);
int diffFiles(const std::string& first, const std::string& second, bool json, std::ostream& out,
              std::ostream& err);

// apply's result as one JSON object: the file, the port, ok, written, committed,
// compared and the differing registers.
std::string applyJson(const std::string& path, const std::string& port,
                      const station::ApplyResult& result);
// The lines that name each differing register: "BitWidth: wanted 25, found 13".
std::string mismatchLines(const station::ApplyResult& result);
// The messages of a failed step of an apply, one line each.
std::string applyFailureText(const station::ApplyResult& result, const std::string& port);

// The events of an apply: the set write, and the commit when one was tried.
void logApplied(OperationLog& log, const station::ApplyResult& result, const std::string& subject);

// Where load asks before it writes; without a terminal only --yes loads.
struct Confirmation {
    bool terminal = false;
    std::istream* answers = nullptr;
};

// save, load and diff against a file on an open port, through the same codec
// and set transfer as the desktop program; with a log, each leaves its events.
class SensorFileCommands {
public:
    SensorFileCommands(TSSICom& com, std::string port, std::ostream& out, std::ostream& err,
                       Confirmation confirmation = {}, OperationLog* log = nullptr);

    int run(const Invocation& invocation);

    int save(const std::string& path, const std::string& comment);
    int load(const std::string& path, bool yes, bool commit);
    int diff(const std::string& path, bool json);
    // Loads without asking, commits when told, reads the set back and compares;
    // Success only when every register the load wrote holds the file's value.
    int apply(const std::string& path, bool commit, bool json, const std::string& report,
              uint8_t language = 0);
    // Prints an apply's result as apply does, naming what was applied `shown`,
    // and logs its events with `subject`; the exit code.
    int reportApplied(const std::string& shown, const station::ApplyResult& result, bool json,
                      const std::string& subject);

private:
    bool readSet();
    void logCommit();
    bool confirmed(const std::string& path, const files::ParameterFile& file, bool yes);
    bool writeSet(const files::ParameterFile& file);

    TSSICom& com_;
    std::string port_;
    std::ostream& out_;
    std::ostream& err_;
    Confirmation confirmation_;
    OperationLog* log_;
};

}  // namespace cli
