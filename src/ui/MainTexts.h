#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "ui/MainState.h"
#include "ui/PageNames.h"
#include "ui/Texts.h"

// The texts of the main window: captions, edit labels, choice lists and hints,
// keyed by the objectName of the control they belong to.
namespace maintexts {

enum class Element {
    Caption,  // menu entry, menu, page tab, group box, button, check box, label
    Label,    // the label beside an edit field
    Items,    // choice list of a radio group, one choice per line
    Hint,     // tool tip and status-line text
};

// A text in English and German. A null German text means that switching to
// German leaves whatever the control shows.
struct Entry {
    const char* control;
    Element element;
    const char* english;
    const char* german;
};

// A text that the window layout holds in one language only.
struct LayoutText {
    const char* control;
    Element element;
    const char* text;
};

// How the charge-pump group looks for a sensor type.
struct ChargepumpGroup {
    std::span<const Entry> texts;
    int height;
    bool modelVisible;
};

inline constexpr char kParameterPage[] = "ParameterPage";
inline constexpr char kChargepumpStages[] = "ChargepumpStages";
inline constexpr char kModel[] = "Model";
inline constexpr char kEnglishItem[] = "English1";
inline constexpr char kGermanItem[] = "Deutsch1";

// The button's hint is a copy of the label's hint, whatever the language.
inline constexpr char kOriginButton[] = "OriginButton";
inline constexpr char kOriginLabel[] = "OriginLabel";

inline constexpr std::array<const char*, 5> kRepaintedPages = {
    pagenames::SSISettings, pagenames::ErrorIndication, pagenames::Measurement,
    pagenames::Measurement2, pagenames::LinPage};

// Every text that the language switch sets, apart from the charge-pump group.
std::span<const Entry> catalogue();

// The texts of the charge-pump group and the visibility of `Model`, by sensor type.
const ChargepumpGroup& chargepumpGroup(const QString& sensorTypeText);

using CycleTimeWording = MainState::CycleTimeWording;

// The caption of the cycle-time line and the wording of the linearization box,
// by what the sensor's set says.
std::span<const Entry> cycleTimeCaption(CycleTimeWording wording);
std::span<const Entry> linearizationWording(bool internalLinearization);

// The texts that stay the same in both languages.
std::span<const LayoutText> layoutTexts();

// The entry's text for the language; nullopt when that language sets nothing.
std::optional<QString> textFor(const Entry& entry, uint8_t uiLanguage);

// The status line; %1 stands for the port number.
const TextPair& statusFound();
const TextPair& statusEstablished();
const TextPair& statusUpdatePending();
const TextPair& statusNotConnected();
// %1 stands for the address of a network port whose server leaves RTS requests unanswered.
const TextPair& statusModemLinesSkipped();
// %1 stands for the reason the history store gave for refusing an event.
const TextPair& statusHistoryMissed();

// A range point that has not been taught.
const TextPair& pointNotDefined();

}  // namespace maintexts
