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

    void showSsiOutput();            // steps 2, 3
    void applyTemperatureRule();     // step 3
    void showErrorIndication();      // steps 4, 5
    void showFilter();               // step 6
    void applyVelocityRule();        // step 6
    void showMeasuringChoices();     // steps 7 to 10
    void showOutputFlags();          // step 11
    void showResolutionAndOffset();  // steps 12, 13
    void showSensorInformation();    // steps 14 to 19
    void showCycleTimeLine();        // step 18
    void showCycleTimeCaption();
    void showExpertFields();        // steps 20 to 22
    void showLinearizationFlags();  // step 23
    void showStartOfMeasurement();  // step 24
    void showSampleCycle();         // step 25
    void showChargepump();          // step 26
    void showModelChoice();         // steps 27 to 29
    void showLinearizationPage();   // step 30
    void showLinearizationWording();
    void showLinStartValue();  // step 31
    void showRangePoints();    // step 32
    void showRangePoint(Reg r, LabeledEdit& field, bool endPoint);
    void showBlanking();  // step 33
    void finishModel();   // step 34

    TMainForm& form_;
    TSSICom& sensor_;
    TextPair cycleTimeCaption_;
};

// The text of a taught range point as the refresh and the range editors show it:
// millimetres from the offset field and the point, or "not defined".
std::optional<QString> RangePointText(const TMainForm& form, bool endPoint);

}  // namespace params
