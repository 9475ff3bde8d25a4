#pragma once

#include <cstdint>
#include <functional>

class TSSICom;

// The sensor's linearization table read through the protocol object, one
// entry per command.
namespace linearization {

// Entry reads of a whole-table run: attempts per address before the run fails.
inline constexpr int EntryReadAttempts = 6;
inline constexpr int EntryCount = 301;

// How the table shows a byte to the user: -128 to 127.
int8_t SignedByte(int32_t value);

// Reads one address, trying again after a failure, at most EntryReadAttempts in all.
bool ReadEntry(TSSICom& sensor, int address);

// Called for each entry of a run with its address and its signed value.
using EntryVisitor = std::function<void(int address, int8_t value)>;

// Visits the entries from the first to the last address in order. Unless the
// image already holds the table (`cached`), each entry is read first; a run
// ends with false at the first address that cannot be read.
bool RunTable(TSSICom& sensor, bool cached, const EntryVisitor& visit);

}  // namespace linearization
