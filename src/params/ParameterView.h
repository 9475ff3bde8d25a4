#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "app/Messages.h"
#include "comm/Ssicom.h"

class TMainForm;
class LabeledEdit;
class RadioGroup;
class CheckBox;

namespace params {

// Copies the register table into the parameter pages and the sensor information
// box, derives what is shown but not stored, enables each control by its
// register's Answered flag, and applies the two corrections that write to the sensor.
class ParameterView {
public:
    explicit ParameterView(TMainForm& form);
    void Refresh();

private:
    using Reg = TSSICom::RegisterIndex;

    const TSSICom::DataElement& reg(Reg r) const;
    QString unsignedText(Reg r) const;
    QString signedText(Reg r) const;
    void showEdit(LabeledEdit& edit, Reg r, const QString& text);
    void showChoice(RadioGroup& group, Reg r, int item);
    void showCheck(CheckBox& box, Reg r, bool checked);
    void paint(LabeledEdit& edit, Reg r);
    void paint(RadioGroup& group, Reg r);
    void paint(CheckBox& box, Reg r);

    // The parts of Refresh in the order it runs them, each followed by its helpers.
    void showSsiOutput();
    void applyTemperatureRule();
    void showErrorIndication();
    void showFilter();
    void applyVelocityRule();
    void showMeasuringChoices();
    void showOutputFlags();
    void showResolutionAndOffset();
    void showSensorInformation();
    void showCycleTimeLine();
    void showCycleTimeCaption();
    void showExpertFields();
    void showLinearizationFlags();
    void showStartOfMeasurement();
    void showSampleCycle();
    void showChargepump();
    void showModelChoice();
    void showLinearizationPage();
    void showLinearizationWording();
    void showLinStartValue();
    void showRangePoints();
    void showRangePoint(Reg r, LabeledEdit& field, bool endPoint);
    void showBlanking();
    void finishModel();

    TMainForm& form_;
    TSSICom& sensor_;
    TextPair cycleTimeCaption_;
};

// The text of a taught range point as the refresh and the range editors show it:
// millimetres from the offset field and the point, or "not defined".
std::optional<QString> RangePointText(const TMainForm& form, bool endPoint);

}  // namespace params
