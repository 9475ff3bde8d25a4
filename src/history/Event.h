#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "comm/ParameterSet.h"

// One operation on a sensor as the history keeps it.
namespace history {

// Stored and printed by name: "read", "write", "load", "commit", "lin-write",
// "factory-restore", "firmware".
enum class Operation { Read, Write, Load, Commit, LinWrite, FactoryRestore, FirmwareDownload };

const char* OperationName(Operation operation);
std::optional<Operation> OperationFromName(std::string_view name);

struct RegisterValue {
    int32_t value = 0;
    bool answered = false;

    bool operator==(const RegisterValue&) const = default;
};
using RegisterValues = std::array<RegisterValue, ParameterSet::RegisterCount>;

// The registers of the set as it stands, with their answered flags.
RegisterValues CaptureRegisters(const ParameterSet& set);

// Who did it, where: the same for every event of one program run.
struct Origin {
    std::string program;  // "varnel" or "varnelctl"
    std::string version;
    std::string account;  // the login name
};

// The program and version given, and the login name of the account that runs it.
Origin ThisAccount(std::string program, std::string version);

struct Event {
    int64_t id = 0;    // given by the store
    std::string time;  // UTC, ISO 8601 with milliseconds: "2026-12-10T10:47:30.125Z"
    Origin origin;
    std::string port;           // as the user named it
    std::string factoryNumber;  // the sensor's text, "20815001"
    int32_t firmwareVersion = 0;
    Operation operation = Operation::Read;
    // The register key of a single write, the file of a load or a firmware download.
    std::string subject;
    bool ok = true;
    std::string message;  // why it failed
    // The set after the operation, when the operation read or wrote it.
    std::optional<RegisterValues> registers;
    // The linearization table image, when the operation read or wrote it.
    std::optional<std::vector<uint8_t>> linTable;
};

// How the programs name an event: "event 12".
std::string EventName(int64_t id);
// The subject of a restore from another sensor's event: "event 12 of 20815001".
std::string RestoreSubject(const Event& old);

// The event's registers as a set: values, answered flags and the factory
// number's text; an event without a set gives the empty set.
ParameterSet SetOf(const Event& event);

}  // namespace history
