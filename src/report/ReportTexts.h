#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/TextRows.h"

// The texts of the reports in English and German: the word lists the sensor
// report fills in, and the messages and captions of printing.
namespace report {

enum class Text {
    No,
    Yes,
    NoFilter,
    FilterGrade2,
    FilterGrade4,
    FilterGrade8,
    Binary,
    Gray,
    SsiAsynchronous,
    SsiSynchronous,
    SynchronousStart,
    Position,
    Differential,
    Velocity,
    Forward,
    Reverse,
    Stage1,
    Stage2,
    Stage3,
    Stage4,
    Stage5,
    Stage6,
    Stage7,
    Stage8,
    OneStage,
    ThreeStages,
    SixStages,
    Unavailable,
    Chiffre,
    DestinationCaption,
    DestinationQuestion,
    ToPrinter,
    ToPreview,
    ToPdf,
    PdfFileCaption,
    PdfFileFilter,
    Count  // the number of texts
};

const TextRow<Text>& Row(Text id);

enum class Message {
    TemplateMissing,     // the file name follows the text
    TemplateUnreadable,  // the file name follows the text
    PdfNotWritten,       // the file name and the system's reason follow the text
    Count                // the number of messages
};

const MessageRow<Message>& Row(Message id);

// The text for the language: 0 English, 1 German, empty for any other value.
std::string TextFor(Text id, uint8_t language);

// The word lists, each indexed by the item of its choice.
enum class WordList {
    YesNo,
    Filter,
    OutputCode,
    MeasurementStart,
    MeasuringMode,
    Direction,
    EightChargepumpStages,
    ThreeChargepumpStages,
};

// The list's word for the item; nothing for an item the list does not have.
std::optional<std::string> Word(WordList list, int item, uint8_t language);

}  // namespace report
