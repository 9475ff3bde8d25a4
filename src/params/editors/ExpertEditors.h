#pragma once

#include <QString>

#include "comm/Ssicom.h"
#include "params/pages/PageControls.h"

class EditorContract;

namespace params {

class OffsetEditor;

// The sensor's physical constants and timing: factory number, ultrasonic speed
// with its scale, the two cycle times, monoflop time, charge pump, model and
// blanking. The length has an editor of its own.
class ExpertEditors {
public:
    ExpertEditors(PageControls& controls, EditorContract& contract, OffsetEditor& offset);

    void OnEditFactoryNumber(const QString& text);
    void OnChangeFactoryNumber();
    // The factory number's check when the focus leaves the parameter pages.
    void ParameterPageExit();
    void OnEditUltrasonicSpeed(const QString& text);
    void OnChangeUltrasonicSpeed();
    void OnEditCycleTime(const QString& text);
    void OnChangeCycleTime();
    void OnEditSyncTiming(const QString& text);
    void OnChangeSyncTiming();
    void OnEditMonoflopTime(const QString& text);
    void OnChangeMonoflopTime();
    void OnChangeChargepumpStages(int item);
    void OnChangeModel(int item);
    void BlankingChange(const QString& text);
    void BlankingExit();
    void Q_SERIEClick();

private:
    void connectHandlers();
    void writeNumber(LabeledEdit& edit, TSSICom::RegisterIndex r, const QString& text);
    static bool accepts(TSSICom::RegisterIndex r, const LabeledEdit& edit);
    void showScale();
    void modelRefused();

    PageControls& ui_;
    ExpertSettingsControls& page_;
    EditorContract& contract_;
    OffsetEditor& offset_;
};

}  // namespace params
