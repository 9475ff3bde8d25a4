#pragma once

#include <QString>

#include "params/pages/PageControls.h"

class EditorContract;

namespace params {

// How the sensor frames its position on the SSI line: code, data bits, start of
// measurement, UART counter, jitter window, error-and-parity bit, temperature
// bits and the synchronised start. Every change is written to the sensor at once.
class SsiOutputEditors {
public:
    SsiOutputEditors(PageControls& controls, EditorContract& contract);

    void OnChangeCodingGroup(int item);
    void OnEditBitWidth(const QString& text);
    void OnChangeBitWidth();
    void OnChangeMode(int item);
    void OnEditUARTWrites(const QString& text);
    void OnChangeUARTWrites();
    void OnEditJitterWindow(const QString& text);
    void OnChangeJitterWindow();
    void OnChangeSiemens(bool checked);
    void TemperatureClick(bool checked);
    void SSI_Start_CheckBoxClick(bool checked);

private:
    void connectHandlers();
    void forceTemperatureBitWidth();

    SSISettingsControls& ssi_;
    Measurement2Controls& flags_;
    const ExpertSettingsControls& expert_;
    EditorContract& contract_;
};

}  // namespace params
