#pragma once

#include <optional>
#include <string>
#include <vector>

#include "comm/Ssicom.h"

namespace cli {

enum class Command { Help, Ports, Read, Get, Set, Commit, Wake, Stream };

enum class SampleFormat { Text, Json, Csv };

struct Invocation {
    Command command = Command::Help;
    std::string port;  // as given: "COM3", "3" or a device path
    bool json = false;
    std::optional<TSSICom::RegisterIndex> key;  // get and set
    std::string value;                          // set
    std::optional<long> count;                  // stream: samples to print, all when empty
    SampleFormat format = SampleFormat::Text;   // stream
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
