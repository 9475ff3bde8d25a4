#pragma once

#include <QString>

#include "params/pages/PageControls.h"

class EditorContract;

namespace params {

class RangePoints;

// What the sensor sends when it cannot measure: the error value, the number of
// failed measurements before it says so, the power-fail time and the second
// error value. Every change is written to the sensor at once.
class ErrorIndicationEditors {
public:
    ErrorIndicationEditors(PageControls& controls, EditorContract& contract,
                           RangePoints& rangePoints);

    void OnEditErrorValue(const QString& text);
    void OnChangeErrorValue();
    void OnEditErrorCount(const QString& text);
    void OnChangeErrorCount();
    void OnEditPowerFail(const QString& text);
    void OnChangePowerFail();
    void ErrorValue2Click(bool checked);

private:
    void connectHandlers();

    ErrorIndicationControls& page_;
    const ExpertSettingsControls& expert_;
    EditorContract& contract_;
    RangePoints& rangePoints_;
};

}  // namespace params
