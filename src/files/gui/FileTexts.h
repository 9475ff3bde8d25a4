#pragma once

#include <QString>

#include "ui/Texts.h"

// The texts of saving and loading parameter files: the message boxes, the
// comment dialog and the confirmation dialog, in English and German.
namespace filetexts {

enum class Id {
    CannotCreate,
    CommentNotStorable,
    FileNotFound,
    CannotOpen,
    TooBig,
    ErrorInFile,
    NotCompatible,
    WriteToSensorFailed,
    Count  // the number of messages
};

const MessagePair& message(Id id);
// CommentNotStorable naming the character and its code point.
MessagePair commentNotStorable(char32_t character);

// The file dialogs' filter, the same in both languages.
inline const QString FileFilter = QStringLiteral("Sensorparameter (*.kyr)");
inline const QString DefaultSuffix = QStringLiteral("kyr");
inline const QString ProposedName = QStringLiteral("Sensor.kyr");

const TextPair& commentCaption();
const TextPair& commentPrompt();
const TextPair& commentOk();

const TextPair& openCaption();
const TextPair& openInformation();
const TextPair& openSaveDate();
const TextPair& openFileColumn();
const TextPair& openSensorColumn();
const TextPair& openModel();
const TextPair& openLength();
const TextPair& openQuestion();
const TextPair& openYes();
const TextPair& openNo();

}  // namespace filetexts
