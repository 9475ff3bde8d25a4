#pragma once

#include <QStringList>

#include "history/Event.h"
#include "ui/Texts.h"

// The texts of the History window and of its choice of a replaced sensor, each
// in English and German.
namespace historytexts {

enum class Id {
    Caption,  // %1: the factory number
    TimeColumn,
    OperationColumn,
    ResultColumn,
    ProgramColumn,
    AccountColumn,
    PortColumn,
    SubjectColumn,
    RegisterColumn,
    EventValueColumn,
    PresentValueColumn,
    Succeeded,
    Failed,  // %1: the message
    NoSet,
    Unanswered,  // a register that did not answer
    LoadIntoSensor,
    ReplaceSensor,
    Close,
    // %1 the event's number, %2 its local time, %3 the program, %4 the port
    LoadHeader,
    ReplaceCaption,
    OldSensorLabel,
    LastSetLabel,  // %1: the local time of the set's event
    WriteReplacement,
    Cancel,
    Read,
    Write,
    Load,
    Commit,
    LinWrite,
    FactoryRestore,
    FirmwareDownload,
    Count  // the number of texts
};

const TextPair& text(Id id);
const TextPair& operationName(history::Operation operation);

enum class Message {
    Unreadable,  // %1: the store's reason
    NoOtherSensor,
    ReplacementMatches,  // %1 the old factory number, %2 the connected one
    ReplacementDiffers,  // %1, %2 as above, %3 the registers that differ, one a line
    OtherFirmwareType,   // %1 the old factory number, %2 its firmware, %3 the connected one's
    OtherModel,          // %1 the old factory number
    ReplacementFailed,   // %1 the old factory number
    Count                // the number of messages
};

const MessagePair& message(Message id);
// The message with its %1, %2 ... replaced by `arguments` in both languages.
MessagePair filled(Message id, const QStringList& arguments);

// One line of ReplacementDiffers: %1 the register, %2 the wanted value, %3 the found one.
const TextPair& differingRegister();

}  // namespace historytexts
