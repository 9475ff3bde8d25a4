#pragma once

#include <optional>
#include <string>
#include <vector>

#include "comm/Ssicom.h"

namespace cli {

enum class Command { Help, Ports, Read, Get, Set, Commit, Wake, Lin };

enum class LinAction { Get, Set, Factor, Start, Export };

// lin get ADDR | set ADDR VALUE | factor [VALUE] | start [VALUE] | export FILE [--lang de]
struct LinInvocation {
    LinAction action = LinAction::Get;
    int address = 0;
    std::optional<int32_t> value;  // set, and factor or start when they write
    std::string file;              // export
    uint8_t language = 0;          // export: 0 English, 1 German
};

struct Invocation {
    Command command = Command::Help;
    std::string port;  // as given: "COM3", "3" or a device path
    bool json = false;
    std::optional<TSSICom::RegisterIndex> key;  // get and set
    std::string value;                          // set
    std::optional<LinInvocation> lin;
};

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
