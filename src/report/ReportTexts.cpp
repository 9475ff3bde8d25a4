#include "report/ReportTexts.h"

#include <span>

namespace report {

namespace {

// clang-format off
constexpr TextRow<Text> kRows[] = {
    {Text::No, "no", "nein"},
    {Text::Yes, "yes", "ja"},
    {Text::NoFilter, "no filter", "kein Filter"},
    {Text::FilterGrade2, "grade 2", "Grad 2"},
    {Text::FilterGrade4, "grade 4", "Grad 4"},
    {Text::FilterGrade8, "grade 8", "Grad 8"},
    {Text::Binary, "binary", "binär"},
    {Text::Gray, "gray", "gray"},
    {Text::SsiAsynchronous, "SSI asynchron", "SSI asynchron"},
    {Text::SsiSynchronous, "SSI synchron", "SSI synchron"},
    {Text::SynchronousStart, "synchronous start", "synchron Start"},
    {Text::Position, "position", "Position"},
    {Text::Differential, "differential", "Differenz"},
    {Text::Velocity, "velocity", "Geschwindigkeit"},
    {Text::Forward, "forward", "vorwärts"},
    {Text::Reverse, "reverse", "inverse"},
    {Text::Stage1, "stage 1 (0x00)", "Stufe 1 (0x00)"},
    {Text::Stage2, "stage 2 (0x80)", "Stufe 2 (0x80)"},
    {Text::Stage3, "stage 3 (0x40)", "Stufe 3 (0x40)"},
    {Text::Stage4, "stage 4 (0xC0)", "Stufe 4 (0xC0)"},
    {Text::Stage5, "stage 5 (0x20)", "Stufe 5 (0x20)"},
    {Text::Stage6, "stage 6 (0xA0)", "Stufe 6 (0xA0)"},
    {Text::Stage7, "stage 7 (0x60)", "Stufe 7 (0x60)"},
    {Text::Stage8, "stage 8 (0xE0)", "Stufe 8 (0xE0)"},
    {Text::OneStage, "one stage", "eine Stufe"},
    {Text::ThreeStages, "three stages", "drei Stufen"},
    {Text::SixStages, "six stages", "sechs Stufen"},
    {Text::Unavailable, "-----", "-----"},
    {Text::Chiffre, "Chiffre:", "Chiffre:"},
    {Text::DestinationCaption, "Print", "Drucken"},
    {Text::DestinationQuestion, "Where should the report go?", "Wohin soll der Bericht gehen?"},
    {Text::ToPrinter, "&Printer...", "&Drucker..."},
    {Text::ToPreview, "Pre&view...", "&Vorschau..."},
    {Text::ToPdf, "PDF &file...", "PDF-&Datei..."},
    {Text::PdfFileCaption, "Save report as PDF", "Bericht als PDF speichern"},
    {Text::PdfFileFilter, "PDF files (*.pdf)", "PDF-Dateien (*.pdf)"},
};
// clang-format on

static_assert(RowsFollowIds(kRows, Text::Count), "one row per text, in id order");

// clang-format off
constexpr MessageRow<Message> kMessages[] = {
    {Message::TemplateMissing,
     "The report template was not found:\n", "Error",
     "Die Berichtsvorlage wurde nicht gefunden:\n", "Fehler"},
    {Message::TemplateUnreadable,
     "The report template cannot be read:\n", "Error",
     "Die Berichtsvorlage kann nicht gelesen werden:\n", "Fehler"},
    {Message::PdfNotWritten,
     "The PDF file could not be written:\n", "Error",
     "Die PDF-Datei konnte nicht geschrieben werden:\n", "Fehler"},
};
// clang-format on

static_assert(RowsFollowIds(kMessages, Message::Count), "one row per message, in id order");

constexpr Text kYesNo[] = {Text::No, Text::Yes};
constexpr Text kFilter[] = {Text::NoFilter, Text::FilterGrade2, Text::FilterGrade4,
                            Text::FilterGrade8};
constexpr Text kOutputCode[] = {Text::Binary, Text::Gray};
constexpr Text kMeasurementStart[] = {Text::SsiAsynchronous, Text::SsiSynchronous,
                                      Text::SynchronousStart};
constexpr Text kMeasuringMode[] = {Text::Position, Text::Differential, Text::Velocity};
constexpr Text kDirection[] = {Text::Forward, Text::Reverse};
constexpr Text kEightStages[] = {Text::Stage1, Text::Stage2, Text::Stage3, Text::Stage4,
                                 Text::Stage5, Text::Stage6, Text::Stage7, Text::Stage8};
constexpr Text kThreeStages[] = {Text::OneStage, Text::ThreeStages, Text::SixStages};

std::span<const Text> wordsOf(WordList list) {
    switch (list) {
        case WordList::YesNo:
            return kYesNo;
        case WordList::Filter:
            return kFilter;
        case WordList::OutputCode:
            return kOutputCode;
        case WordList::MeasurementStart:
            return kMeasurementStart;
        case WordList::MeasuringMode:
            return kMeasuringMode;
        case WordList::Direction:
            return kDirection;
        case WordList::EightChargepumpStages:
            return kEightStages;
        case WordList::ThreeChargepumpStages:
            break;
    }
    return kThreeStages;
}

}  // namespace

const TextRow<Text>& Row(Text id) {
    return kRows[static_cast<size_t>(id)];
}

const MessageRow<Message>& Row(Message id) {
    return kMessages[static_cast<size_t>(id)];
}

std::string TextFor(Text id, uint8_t language) {
    return TextOf(Row(id), language);
}

std::optional<std::string> Word(WordList list, int item, uint8_t language) {
    const std::span<const Text> words = wordsOf(list);
    if (item < 0 || static_cast<size_t>(item) >= words.size())
        return std::nullopt;
    return TextFor(words[static_cast<size_t>(item)], language);
}

}  // namespace report
