#include "params/editors/MeasurementEditors.h"

#include <QPushButton>
#include <QSignalBlocker>

#include "comm/SensorRules.h"
#include "comm/SettingChanges.h"
#include "comm/SettingRules.h"
#include "comm/ViewRules.h"
#include "params/editors/LengthEditor.h"
#include "params/editors/OffsetEditor.h"
#include "ui/MainState.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/EditorContract.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/RadioGroup.h"

namespace params {

namespace {

using mainmessages::Id;
using Reg = TSSICom::RegisterIndex;

constexpr int InverseItem = 1;
constexpr int DifferentialItem = 1;
constexpr int32_t SinglePosition = 1;
constexpr int32_t TwoPositions = 2;
const QString HalfMicrometreText = QStringLiteral("0.5");

}  // namespace

MeasurementEditors::MeasurementEditors(PageControls& controls, EditorContract& contract,
                                       OffsetEditor& offset, LengthEditor& length)
    : ui_(controls), contract_(contract), offset_(offset), length_(length) {
    connectHandlers();
}

void MeasurementEditors::connectHandlers() {
    using Guard = EditorContract::Guard;
    auto& page = ui_.Measurement;
    auto& page2 = ui_.Measurement2;
    contract_.bindChoice(*page.FilterS, [this](int item) { OnChangeFilter(item); });
    contract_.bindChoice(*page.Direction, [this](int item) { OnChangeDirection(item); });
    contract_.bindChoice(*page.PosDifVel, [this](int item) { OnChangePosDifVel(item); });
    contract_.bindEdit(
        *page.Resolution, [this](const QString& text) { OnEditResolution(text); },
        [this] { OnChangeResolution(); });
    QObject::connect(page._05um, &QPushButton::clicked, page._05um, [this] { _05umClick(); });
    contract_.bindCheck(*page.SlowAvarageFilter,
                        [this](bool checked) { SlowAvarageFilterClick(checked); });
    contract_.bindCheck(*page2.Linearisierung,
                        [this](bool checked) { LinearisierungClick(checked); });
    contract_.bindCheck(
        *page2.Extrapolation, [this](bool checked) { ExtrapolationClick(checked); },
        Guard::Refresh);
    contract_.bindCheck(*page2.TempComp, [this](bool checked) { TempCompClick(checked); });
    contract_.bindCheck(*page2.ExtrapolForward,
                        [this](bool checked) { ExtrapolForwardClick(checked); });
}

bool MeasurementEditors::offsetConverts() const {
    const TSSICom& sensor = contract_.sensor();
    return sensor[TSSICom::Resolution].Value != 0 &&
           !rules::IsOffsetRawFirmware(sensor.FirmwareVersionNumber());
}

bool MeasurementEditors::writeAll(std::initializer_list<Reg> registers) {
    for (const Reg r : registers) {
        if (!contract_.writeRegister(r))
            return false;
    }
    return true;
}

void MeasurementEditors::OnChangeFilter(int item) {
    TSSICom& sensor = contract_.sensor();
    if (item != 0 && ui_.ExpertSettings.KModelChosen()) {
        sensor[TSSICom::Filter].Value = 0;
        contract_.refuseForKFamily([this] { ui_.Measurement.FilterS->setItemIndex(0); });
        return;
    }
    ui_.Measurement.FilterS->setColour(FieldColour::Highlight);
    const int32_t oldFilter = sensor[TSSICom::Filter].Value;
    sensor[TSSICom::Filter].Value = item;
    sensor[TSSICom::Filter].Modified = 1;
    if (offsetConverts()) {
        sensor[TSSICom::Offset].Value =
            rules::RescaledOffset(sensor[TSSICom::Offset].Value, oldFilter, item);
    }
    contract_.state().WriteOutcome(writeAll({TSSICom::Filter, TSSICom::Offset}));
}

// The offset is mirrored about the end of the measuring range, so that the same
// magnet position keeps its reading. Only the QH and QP define where that lies.
void MeasurementEditors::OnChangeDirection(int item) {
    TSSICom& sensor = contract_.sensor();
    if (item == InverseItem && ui_.ExpertSettings.KModelChosen()) {
        sensor[TSSICom::Direction].Value = 0;
        contract_.refuseForKFamily([this] { ui_.Measurement.Direction->setItemIndex(0); });
        return;
    }
    ui_.Measurement.Direction->setColour(FieldColour::Highlight);
    sensor[TSSICom::Direction].Value = item;
    const auto base =
        rules::MirrorBase(sensor[TSSICom::Model].Value, sensor[TSSICom::Length].Value);
    if (base) {
        offset_.ShowMicrometres(*base - offset_.FieldMicrometres());
        offset_.OnEditOffset(ui_.Measurement.Offset->text());
    } else {
        contract_.show(Id::OffsetNotMirrored, MessageIcon::Information);
    }
    contract_.write(TSSICom::Direction);
}

void MeasurementEditors::OnChangePosDifVel(int item) {
    TSSICom& sensor = contract_.sensor();
    if (item != 0 && ui_.ExpertSettings.KModelChosen()) {
        sensor[TSSICom::Mode].Value = 0;
        contract_.refuseForKFamily([this] { ui_.Measurement.PosDifVel->setItemIndex(0); });
        return;
    }
    ui_.Measurement.PosDifVel->setColour(FieldColour::Highlight);
    sensor[TSSICom::Mode].Value = item;
    sensor[TSSICom::Mode].Modified = 1;
    const bool differential = item == DifferentialItem;
    sensor[TSSICom::PositionCount].Value = differential ? TwoPositions : SinglePosition;
    const auto shownOffset = StrictNumber(ui_.Measurement.Offset->text());
    if (differential && shownOffset && *shownOffset != 0) {
        contract_.show(Id::OffsetMustBeZero, MessageIcon::Warning);
        ui_.Measurement.Offset->setColour(FieldColour::Highlight);
        sensor[TSSICom::Offset].Value = 0;
        ui_.Measurement.Offset->setText(QStringLiteral("0"));
        sensor[TSSICom::Offset].Modified = 1;
    }
    recomputeLengthIfLinearized();
    contract_.state().WriteOutcome(writeAll({TSSICom::Mode, TSSICom::PositionCount}));
    if (rules::FilterForced(sensor.FirmwareVersionNumber(), sensor[TSSICom::Mode].Value)) {
        zeroFilterForVelocity();
    } else {
        ui_.Measurement.FilterS->setEnabled(true);
    }
}

// Selecting "no filter" runs the filter's handler, which finds the old grade
// already 0 and writes the filter with the offset unchanged.
void MeasurementEditors::zeroFilterForVelocity() {
    auto& filter = *ui_.Measurement.FilterS;
    contract_.show(Id::VelocityZeroesFilter, MessageIcon::Information);
    if (filter.itemIndex() != 0)
        filter.setColour(FieldColour::Highlight);
    contract_.sensor()[TSSICom::Filter].Value = rules::VelocityFilter;
    filter.setItemIndex(0);
    filter.setEnabled(false);
    contract_.write(TSSICom::Filter);
}

void MeasurementEditors::OnEditResolution(const QString& text) {
    const auto resolution = StrictNumber(text);
    if (resolution && changes::Accepts(TSSICom::Resolution, *resolution)) {
        changeResolution(*resolution);
    } else if (text == HalfMicrometreText || text == QStringLiteral("0,5")) {
        showResolutionQuietly(HalfMicrometreText);
        _05umClick();
    }
    recomputeLengthIfLinearized();
}

void MeasurementEditors::changeResolution(int32_t resolution) {
    TSSICom& sensor = contract_.sensor();
    ui_.Measurement.Resolution->setColour(FieldColour::Highlight);
    const bool kSeriesRefuses = changes::RefusedByKSeries(sensor, resolution);
    writeScaleSet(changes::ScaleSetFor(sensor, resolution, offset_.FieldMicrometres()),
                  kSeriesRefuses ? std::optional(Id::ResolutionKSeries) : std::nullopt);
}

// A set the sensor does not take is put back, and the field shows what the sensor holds.
bool MeasurementEditors::writeScaleSet(const changes::ScaleSet& wanted,
                                       std::optional<mainmessages::Id> refusal) {
    TSSICom& sensor = contract_.sensor();
    const changes::ScaleSet previous = changes::PresentScaleSet(sensor);
    if (changes::WriteScaleSet(sensor, wanted)) {
        contract_.state().MarkParametersChanged();
        showScale();
        return true;
    }
    if (refusal)
        contract_.show(*refusal);
    restoreScaleSet(previous);
    return false;
}

void MeasurementEditors::restoreScaleSet(const changes::ScaleSet& previous) {
    TSSICom& sensor = contract_.sensor();
    const bool restored = changes::RestoreScaleSet(sensor, previous);
    if (const auto text = rules::ResolutionFieldText(sensor.Parameters()))
        showResolutionQuietly(QString::fromStdString(*text));
    if (!restored) {
        contract_.state().WriteOutcome(false);
        return;
    }
    contract_.state().MarkParametersChanged();
    showScale();
}

void MeasurementEditors::showResolutionQuietly(const QString& text) {
    const QSignalBlocker quiet(ui_.Measurement.Resolution);
    ui_.Measurement.Resolution->setText(text);
}

void MeasurementEditors::showScale() {
    ui_.ExpertSettings.Scale->setText(
        QString::number(static_cast<uint32_t>(contract_.sensor()[TSSICom::Scale].Value)));
}

void MeasurementEditors::OnChangeResolution() {
    const QString text = ui_.Measurement.Resolution->text();
    const auto resolution = StrictNumber(text);
    contract_.finishExit(*ui_.Measurement.Resolution,
                         (resolution && changes::Accepts(TSSICom::Resolution, *resolution)) ||
                             text == HalfMicrometreText,
                         Id::BadResolution);
}

// The offset is kept in the units of the 0.5 µm setting, so the offset field
// keeps its micrometres.
void MeasurementEditors::_05umClick() {
    TSSICom& sensor = contract_.sensor();
    if (!rules::TakesHalfMicrometres(sensor.FirmwareVersionNumber(),
                                     sensor[TSSICom::Model].Reply)) {
        contract_.show(Id::HalfMicrometreNotAvailable);
        return;
    }
    ui_.Measurement.Resolution->setColour(FieldColour::Highlight);
    if (writeScaleSet(changes::HalfMicrometreScaleSet(sensor, offset_.FieldMicrometres()),
                      Id::HalfMicrometreNotAvailable))
        showResolutionQuietly(HalfMicrometreText);
}

void MeasurementEditors::recomputeLengthIfLinearized() {
    if (ui_.Measurement2.Linearisierung->isChecked())
        length_.Recompute();
}

void MeasurementEditors::SlowAvarageFilterClick(bool checked) {
    auto& box = *ui_.Measurement.SlowAvarageFilter;
    if (checked && ui_.ExpertSettings.KModelChosen()) {
        contract_.sensor()[TSSICom::SlowAvarageFilter].Value = 0;
        contract_.refuseForKFamily([&box] { box.setChecked(false); }, Id::KSeriesSsiNotAvailable);
        return;
    }
    box.setColour(FieldColour::Highlight);
    contract_.write(TSSICom::SlowAvarageFilter, checked ? 1 : 0);
}

void MeasurementEditors::switchLinearizationFlag(CheckBox& box, int32_t bit, bool checked) {
    auto& flags = contract_.sensor()[TSSICom::LinearizationFlags];
    box.setColour(FieldColour::Highlight);
    flags.Value = rules::WithFlag(flags.Value, bit, checked);
    flags.Modified = 1;
}

void MeasurementEditors::LinearisierungClick(bool checked) {
    auto& box = *ui_.Measurement2.Linearisierung;
    if (refusedForKFamily(box, rules::InternalLinearizationBit, checked))
        return;
    switchLinearizationFlag(box, rules::InternalLinearizationBit, checked);
    length_.Recompute();
    contract_.write(TSSICom::LinearizationFlags);
}

void MeasurementEditors::ExtrapolationClick(bool checked) {
    auto& mode = *ui_.SSISettings.Mode;
    auto& forward = *ui_.Measurement2.ExtrapolForward;
    switchLinearizationFlag(*ui_.Measurement2.Extrapolation, rules::ExtrapolationBit, checked);
    if (checked) {
        if (ui_.ExpertSettings.KModelChosen()) {
            contract_.selectQuietly(mode, SSISettingsControls::SynchronousItem);
        } else {
            mode.setItemIndex(SSISettingsControls::SynchronousItem);
        }
        mode.setEnabled(false);
        forward.setEnabled(true);
    } else {
        forward.setChecked(false);
        forward.setEnabled(false);
        mode.setEnabled(true);
        if (!ui_.ExpertSettings.KModelChosen())
            contract_.show(Id::CheckStartOfMeasurement, MessageIcon::Warning);
    }
    contract_.write(TSSICom::LinearizationFlags);
}

void MeasurementEditors::TempCompClick(bool checked) {
    switchOptionalFlag(*ui_.Measurement2.TempComp, rules::TemperatureCompensationBit, checked);
}

void MeasurementEditors::ExtrapolForwardClick(bool checked) {
    switchOptionalFlag(*ui_.Measurement2.ExtrapolForward, rules::ExtrapolationForwardBit, checked);
}

void MeasurementEditors::switchOptionalFlag(CheckBox& box, int32_t bit, bool checked) {
    if (refusedForKFamily(box, bit, checked))
        return;
    switchLinearizationFlag(box, bit, checked);
    contract_.write(TSSICom::LinearizationFlags);
}

bool MeasurementEditors::refusedForKFamily(CheckBox& box, int32_t bit, bool checked) {
    if (!checked || !ui_.ExpertSettings.KModelChosen())
        return false;
    contract_.refuseFlagForKFamily(box, TSSICom::LinearizationFlags, bit);
    return true;
}

}  // namespace params
