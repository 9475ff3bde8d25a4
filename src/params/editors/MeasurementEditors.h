#pragma once

#include <QString>
#include <initializer_list>
#include <optional>

#include "comm/SettingChanges.h"
#include "comm/Ssicom.h"
#include "params/pages/PageControls.h"
#include "ui/MainMessages.h"

class EditorContract;

namespace params {

class LengthEditor;
class OffsetEditor;

// What the sensor measures and how it scales it: filter grade, direction,
// measuring mode, resolution (with the 0.5 µm setting) and the options of the
// linearization. The offset follows every change of resolution and filter.
class MeasurementEditors {
public:
    MeasurementEditors(PageControls& controls, EditorContract& contract, OffsetEditor& offset,
                       LengthEditor& length);

    void OnChangeFilter(int item);
    void OnChangeDirection(int item);
    void OnChangePosDifVel(int item);
    void OnEditResolution(const QString& text);
    void OnChangeResolution();
    void _05umClick();
    void SlowAvarageFilterClick(bool checked);
    void LinearisierungClick(bool checked);
    void ExtrapolationClick(bool checked);
    void TempCompClick(bool checked);
    void ExtrapolForwardClick(bool checked);

private:
    void connectHandlers();
    bool offsetConverts() const;
    // Writes the registers in order, stopping at the first failure.
    bool writeAll(std::initializer_list<TSSICom::RegisterIndex> registers);
    bool writeScaleSet(const changes::ScaleSet& wanted, std::optional<mainmessages::Id> refusal);
    void restoreScaleSet(const changes::ScaleSet& previous);
    void showResolutionQuietly(const QString& text);
    void showScale();
    void changeResolution(int32_t resolution);
    void zeroFilterForVelocity();
    void switchLinearizationFlag(CheckBox& box, int32_t bit, bool checked);
    void switchOptionalFlag(CheckBox& box, int32_t bit, bool checked);
    bool refusedForKFamily(CheckBox& box, int32_t bit, bool checked);
    void recomputeLengthIfLinearized();

    PageControls& ui_;
    EditorContract& contract_;
    OffsetEditor& offset_;
    LengthEditor& length_;
};

}  // namespace params
