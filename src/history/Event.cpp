#include "history/Event.h"

#include <algorithm>

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

}  // namespace history
