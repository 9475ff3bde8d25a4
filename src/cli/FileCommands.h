#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "Arguments.h"
#include "comm/Ssicom.h"
#include "files/ParameterFile.h"

namespace cli {

// Reads and decodes a .kyr file; what went wrong goes to `err`, naming the file.
std::optional<files::ParameterFile> readParameterFile(const std::string& path, std::ostream& err);

// show and diff of two files: no sensor involved.
int showFile(const std::string& path, bool json, std::ostream& out, std::ostream& err);
int diffFiles(const std::string& first, const std::string& second, bool json, std::ostream& out,
              std::ostream& err);

// Where load asks before it writes; without a terminal only --yes loads.
struct Confirmation {
    bool terminal = false;
    std::istream* answers = nullptr;
};

// save, load and diff against a file on an open port, through the same codec
// and set transfer as the desktop program.
class SensorFileCommands {
public:
    SensorFileCommands(TSSICom& com, std::string port, std::ostream& out, std::ostream& err,
                       Confirmation confirmation = {});

    int run(const Invocation& invocation);

    int save(const std::string& path, const std::string& comment);
    int load(const std::string& path, bool yes, bool commit);
    int diff(const std::string& path, bool json);
    // Loads without asking, commits when told, reads the set back and compares;
    // Success only when every register the load wrote holds the file's value.
    int apply(const std::string& path, bool commit, bool json, const std::string& report);

private:
    bool readSet();
    bool confirmed(const std::string& path, const files::ParameterFile& file, bool yes);
    bool writeSet(const files::ParameterFile& file);

    TSSICom& com_;
    std::string port_;
    std::ostream& out_;
    std::ostream& err_;
    Confirmation confirmation_;
};

}  // namespace cli
