#include "history/Event.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace history {

namespace {

struct OperationText {
    Operation operation;
    const char* name;
};

constexpr OperationText kOperationNames[] = {
    {Operation::Read, "read"},
    {Operation::Write, "write"},
    {Operation::Load, "load"},
    {Operation::Commit, "commit"},
    {Operation::LinWrite, "lin-write"},
    {Operation::FactoryRestore, "factory-restore"},
    {Operation::FirmwareDownload, "firmware"},
};

}  // namespace

const char* OperationName(Operation operation) {
    for (const OperationText& entry : kOperationNames) {
        if (entry.operation == operation)
            return entry.name;
    }
    return "";
}

std::optional<Operation> OperationFromName(std::string_view name) {
    for (const OperationText& entry : kOperationNames) {
        if (entry.name == name)
            return entry.operation;
    }
    return std::nullopt;
}

RegisterValues CaptureRegisters(const ParameterSet& set) {
    RegisterValues values;
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = {set.ParameterStruct[i].Value, set.ParameterStruct[i].Answered != 0};
    return values;
}

ParameterSet SetOf(const Event& event) {
    ParameterSet set;
    if (!event.registers)
        return set;
    for (size_t i = 0; i < event.registers->size(); ++i) {
        set.ParameterStruct[i].Value = (*event.registers)[i].value;
        set.ParameterStruct[i].Answered = (*event.registers)[i].answered ? 1 : 0;
    }
    set[ParameterSet::FactoryNumber].Reply = event.factoryNumber;
    if (event.linTable && event.linTable->size() == set.LinTableImage.size())
        std::copy(event.linTable->begin(), event.linTable->end(), set.LinTableImage.begin());
    return set;
}

Origin ThisAccount(std::string program, std::string version) {
    std::string account;
    if (const passwd* user = getpwuid(getuid()); user != nullptr && user->pw_name != nullptr)
        account = user->pw_name;
    else if (const char* name = std::getenv("USER"); name != nullptr)
        account = name;
    return {std::move(program), std::move(version), std::move(account)};
}

std::string EventName(int64_t id) {
    return "event " + std::to_string(id);
}

std::string RestoreSubject(const Event& old) {
    return EventName(old.id) + " of " + old.factoryNumber;
}

}  // namespace history
