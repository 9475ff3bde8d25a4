#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "comm/Ssicom.h"
#include "params/pages/PageControls.h"

class CheckBox;
class LabeledEdit;
class MainState;
class RadioGroup;

namespace params {

// The parameter pages' and the sensor information box's share of the refresh:
// copies the register table into the controls, derives what is shown but not
// stored, and enables each control by its register's Answered flag. It never
// talks to the sensor.
class ParameterView {
public:
    ParameterView(PageControls& controls, MainState& state, TSSICom& sensor);
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

    // The parts of Refresh in the order it runs them.
    void showSsiOutput();
    void showErrorIndication();
    void showFilter();
    void showMeasuringChoices();
    void showOutputFlags();
    void showResolutionAndOffset();
    void showSensorInformation();
    void showCycleTimeLine();
    void showExpertFields();
    void showLinearizationFlags();
    void showStartOfMeasurement();
    void showSampleCycle();
    void showChargepump();
    void showModelChoice();
    void showRangePoints();
    void showRangePoint(Reg r, LabeledEdit& field, bool endPoint);
    void showBlanking();
    void finishModel();

    PageControls& ui_;
    MainState& state_;
    TSSICom& sensor_;
};

// The text of a taught range point as the refresh and the range editors show it:
// millimetres from the offset field and the point, or "not defined".
std::optional<QString> RangePointText(const PageControls& controls, const MainState& state,
                                      const TSSICom& sensor, bool endPoint);

}  // namespace params
