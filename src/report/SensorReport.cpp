#include "report/SensorReport.h"

#include <optional>
#include <utility>

#include "comm/SensorRules.h"
#include "comm/ViewRules.h"
#include "report/ReportTexts.h"

namespace report {

namespace {

using Reg = ParameterSet::RegisterIndex;

constexpr size_t VersionChars = 5;
constexpr char Milliseconds[] = " ms";
constexpr char Microseconds[] = " µs";
constexpr char Micrometres[] = " µm";

// Builds the parameters of one report in the order they are added.
class Builder {
public:
    Builder(const ParameterSet& set, uint8_t language) : set_(set), language_(language) {}

    Parameters take() { return std::move(parameters_); }

    void add(const char* name, std::string value) {
        parameters_.emplace_back(name, std::move(value));
    }
    // The value when the register answered, the unavailable text otherwise.
    void addAnswered(const char* name, Reg r, const std::optional<std::string>& value) {
        add(name, answered(r) && value ? *value : unavailable());
    }

    bool answered(Reg r) const { return set_[r].Answered != 0; }
    int32_t value(Reg r) const { return set_[r].Value; }
    std::string unsignedText(Reg r) const {
        return std::to_string(static_cast<uint32_t>(value(r)));
    }
    std::string text(Text id) const { return TextFor(id, language_); }
    std::string unavailable() const { return text(Text::Unavailable); }
    std::string orUnavailable(const std::optional<std::string>& word) const {
        return word.value_or(unavailable());
    }
    std::optional<std::string> word(WordList list, int item) const {
        return Word(list, item, language_);
    }
    std::optional<std::string> yesNo(std::optional<bool> checked) const {
        if (!checked)
            return std::nullopt;
        return word(WordList::YesNo, *checked ? 1 : 0);
    }
    uint8_t language() const { return language_; }

private:
    const ParameterSet& set_;
    uint8_t language_;
    Parameters parameters_;
};

std::string withUnit(int32_t value, const char* unit) {
    return std::to_string(value) + unit;
}

// The 32-bit product that the sensor's own arithmetic gives.
int32_t wrappedProduct(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

std::string lastChars(const std::string& text, size_t count) {
    return text.size() <= count ? text : text.substr(text.size() - count);
}

std::string rangePoint(const ParameterSet& set, bool endPoint, uint8_t language) {
    const int32_t point = set[endPoint ? ParameterSet::EndPoint : ParameterSet::StartPoint].Value;
    const auto text = rules::PointText(point, endPoint, rules::OffsetFieldMicrons(set),
                                       rules::InternalLinearizationChecked(set),
                                       set[ParameterSet::Resolution].Value);
    return text.value_or(TextOf(rules::ViewTextRow(rules::ViewText::PointNotDefined), language));
}

void addIdentity(Builder& b, const ParameterSet& set) {
    b.add("FactoryNumber", set[ParameterSet::FactoryNumber].Reply);
    b.add("Model", rules::SensorTypeLine(set));
    b.add("FirmwareVersion", rules::FirmwareLine(set));
    b.add("Length", rules::LengthLine(set));
}

void addErrorIndication(Builder& b, const ParameterSet& set) {
    b.add("ErrorValue", b.unsignedText(ParameterSet::ErrorValue));
    b.add("IndicationCounter", b.unsignedText(ParameterSet::IndicationCounter));
    b.addAnswered("SecErrorValue", ParameterSet::SecErrorValue,
                  b.yesNo(rules::SecondErrorValueChecked(set)));
    b.addAnswered("PowerfailTime", ParameterSet::PowerfailTime,
                  withUnit(b.value(ParameterSet::PowerfailTime), Milliseconds));
}

std::string measurementStart(const Builder& b, const ParameterSet& set) {
    if (!b.answered(ParameterSet::Measurement))
        return b.text(Text::SsiAsynchronous);
    if (b.value(ParameterSet::SSIStartSync) != 0)
        return b.text(Text::SynchronousStart);
    return b.orUnavailable(b.word(WordList::MeasurementStart, rules::MeasurementStartItem(set)));
}

void addOutputSettings(Builder& b, const ParameterSet& set) {
    b.addAnswered("Filter", ParameterSet::Filter,
                  b.word(WordList::Filter, b.value(ParameterSet::Filter)));
    b.add("OutputCode",
          b.orUnavailable(b.word(WordList::OutputCode, b.value(ParameterSet::OutputCode))));
    b.add("BitWidth", b.unsignedText(ParameterSet::BitWidth));
    b.add("Measurement", measurementStart(b, set));
    b.addAnswered("MonoflopTime", ParameterSet::MonoflopTime,
                  withUnit(b.value(ParameterSet::MonoflopTime) >> 1, Microseconds));
    b.addAnswered("JitterWindow", ParameterSet::JitterWindow,
                  withUnit(b.value(ParameterSet::JitterWindow), Microseconds));
    const int32_t sampleTime = b.value(ParameterSet::SSISampleTime);
    b.add("SSISampleTime", sampleTime != 0 ? withUnit(sampleTime, Microseconds) : b.unavailable());
    b.add("UARTCounter", b.unsignedText(ParameterSet::UARTCounter));
}

void addOperatingTime(Builder& b, const ParameterSet& set) {
    if (set.FirmwareType() != rules::FirmwareType39606)
        return;
    b.add("Chiffre", b.text(Text::Chiffre));
    b.add("ChiffreVal", b.unsignedText(ParameterSet::OperatingTime));
}

int32_t minPeriodOverhead(const Builder& b, const ParameterSet& set) {
    const int32_t flags = b.value(ParameterSet::LinearizationFlags);
    const bool compensation = b.answered(ParameterSet::LinearizationFlags) &&
                              rules::TemperatureCompensationChecked(flags);
    return rules::CycleTimeFor(rules::CycleTimeInputsOf(set, compensation)).minPeriodOverhead;
}

void addResolutionAndTiming(Builder& b, const ParameterSet& set) {
    const auto resolution = rules::ResolutionFieldText(set);
    b.add("Resolution", resolution ? *resolution + Micrometres : b.unavailable());
    b.add("CycleTime", withUnit(b.value(ParameterSet::CycleTime) >> 2, Microseconds));
    b.add("SyncTiming",
          withUnit((b.value(ParameterSet::SyncTiming) >> 2) + minPeriodOverhead(b, set),
                   Microseconds));
    b.add("UltrasonicSpeed", rules::UltrasonicSpeedLine(set));
    const WordList stages = rules::HasEightChargepumpStages(rules::SensorTypeTextOf(set))
                                ? WordList::EightChargepumpStages
                                : WordList::ThreeChargepumpStages;
    b.addAnswered("Chargepump", ParameterSet::Chargepump,
                  b.word(stages, rules::ChargepumpStagesItem(set)));
}

// An unanswered register of a choice reports the choice's first word.
std::string choiceOrFirst(const Builder& b, Reg r, WordList list, int item) {
    const int shown = b.answered(r) ? item : 0;
    return b.orUnavailable(b.word(list, shown));
}

void addMeasurement(Builder& b, const ParameterSet& set) {
    b.add("Offset",
          withUnit(wrappedProduct(b.value(ParameterSet::Offset), b.value(ParameterSet::Resolution)),
                   Micrometres));
    b.add("Mode", choiceOrFirst(b, ParameterSet::Mode, WordList::MeasuringMode,
                                rules::MeasuringModeItem(b.value(ParameterSet::Mode))));
    b.add("Direction", choiceOrFirst(b, ParameterSet::Direction, WordList::Direction,
                                     b.value(ParameterSet::Direction)));
    b.add("Scale", b.unsignedText(ParameterSet::Scale));
    b.addAnswered("ErrorAndParity", ParameterSet::OutputFlags, b.yesNo(rules::SiemensChecked(set)));
    b.addAnswered("Temperature", ParameterSet::OutputFlags,
                  b.yesNo(rules::TemperatureChecked(set)));
}

// Without the linearization flags a box shows its firmware type's default,
// which the report gives only when it is checked.
std::string linearizationOption(const Builder& b, bool checked) {
    if (b.answered(ParameterSet::LinearizationFlags) || checked)
        return *b.yesNo(checked);
    return b.unavailable();
}

void addLinearization(Builder& b, const ParameterSet& set) {
    b.add("IntLinearization", linearizationOption(b, rules::InternalLinearizationChecked(set)));
    b.add("Extrapolation", linearizationOption(b, rules::ExtrapolationChecked(set)));
    b.addAnswered(
        "ExtrapolationReal", ParameterSet::LinearizationFlags,
        b.yesNo(rules::ExtrapolationForwardChecked(b.value(ParameterSet::LinearizationFlags))));
    const bool taught = b.answered(ParameterSet::EndPoint);
    b.add("StartPoint", taught ? rangePoint(set, false, b.language()) : b.unavailable());
    b.add("EndPoint", taught ? rangePoint(set, true, b.language()) : b.unavailable());
}

}  // namespace

Parameters SensorReportParameters(const ParameterSet& set, uint8_t language,
                                  const std::string& programTitle) {
    Builder b(set, language);
    addIdentity(b, set);
    addErrorIndication(b, set);
    addOutputSettings(b, set);
    addOperatingTime(b, set);
    addResolutionAndTiming(b, set);
    addMeasurement(b, set);
    addLinearization(b, set);
    b.add("Versionsinfo", lastChars(programTitle, VersionChars));
    return b.take();
}

}  // namespace report
