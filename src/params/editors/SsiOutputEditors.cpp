#include "params/editors/SsiOutputEditors.h"

#include "comm/SensorRules.h"
#include "comm/SettingChanges.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/EditorContract.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/RadioGroup.h"

namespace params {

namespace {

using mainmessages::Id;

}  // namespace

SsiOutputEditors::SsiOutputEditors(PageControls& controls, EditorContract& contract)
    : ssi_(controls.SSISettings),
      flags_(controls.Measurement2),
      expert_(controls.ExpertSettings),
      contract_(contract) {
    connectHandlers();
}

void SsiOutputEditors::connectHandlers() {
    using Guard = EditorContract::Guard;
    contract_.bindChoice(
        *ssi_.CodingGroup, [this](int item) { OnChangeCodingGroup(item); }, Guard::Refresh);
    contract_.bindEdit(
        *ssi_.BitWidth, [this](const QString& text) { OnEditBitWidth(text); },
        [this] { OnChangeBitWidth(); });
    contract_.bindChoice(*ssi_.Mode, [this](int item) { OnChangeMode(item); });
    contract_.bindEdit(
        *ssi_.UARTWrites, [this](const QString& text) { OnEditUARTWrites(text); },
        [this] { OnChangeUARTWrites(); });
    contract_.bindEdit(
        *ssi_.JitterWindow, [this](const QString& text) { OnEditJitterWindow(text); },
        [this] { OnChangeJitterWindow(); });
    contract_.bindCheck(*flags_.Siemens, [this](bool checked) { OnChangeSiemens(checked); });
    contract_.bindCheck(*flags_.Temperature, [this](bool checked) { TemperatureClick(checked); });
    contract_.bindCheck(*ssi_.SSI_Start_CheckBox,
                        [this](bool checked) { SSI_Start_CheckBoxClick(checked); });
}

void SsiOutputEditors::OnChangeCodingGroup(int item) {
    ssi_.CodingGroup->setColour(FieldColour::Highlight);
    contract_.write(TSSICom::OutputCode, item);
}

void SsiOutputEditors::OnEditBitWidth(const QString& text) {
    const int32_t bits = FieldNumber(text);
    if (!changes::Accepts(TSSICom::BitWidth, bits))
        return;
    ssi_.BitWidth->setColour(FieldColour::Highlight);
    contract_.write(TSSICom::BitWidth, bits);
}

void SsiOutputEditors::OnChangeBitWidth() {
    contract_.finishExit(*ssi_.BitWidth,
                         changes::Accepts(TSSICom::BitWidth, FieldNumber(ssi_.BitWidth->text())),
                         Id::BadBitWidth);
}

void SsiOutputEditors::OnChangeMode(int item) {
    auto& sensor = contract_.sensor();
    if (item == SSISettingsControls::SynchronousItem && expert_.KModelChosen()) {
        sensor[TSSICom::Measurement].Value = 0;
        contract_.refuseForKFamily([this] {
            ssi_.Mode->setItemIndex(0);
            ssi_.Mode->repaint();
        });
        return;
    }
    ssi_.Mode->setColour(FieldColour::Highlight);
    contract_.write(TSSICom::Measurement, item == SSISettingsControls::SynchronousItem
                                              ? rules::MeasurementSynchronous
                                              : 0);
}

void SsiOutputEditors::OnEditUARTWrites(const QString& text) {
    const int32_t count = FieldNumber(text);
    if (!changes::Accepts(TSSICom::UARTCounter, count))
        return;
    ssi_.UARTWrites->setColour(FieldColour::Highlight);
    contract_.write(TSSICom::UARTCounter, count);
}

void SsiOutputEditors::OnChangeUARTWrites() {
    contract_.finishExit(
        *ssi_.UARTWrites,
        changes::Accepts(TSSICom::UARTCounter, FieldNumber(ssi_.UARTWrites->text())),
        Id::BadUartCounter);
}

void SsiOutputEditors::OnEditJitterWindow(const QString& text) {
    const int32_t microseconds = FieldNumber(text);
    if (!changes::Accepts(TSSICom::JitterWindow, microseconds))
        return;
    ssi_.JitterWindow->setColour(FieldColour::Highlight);
    contract_.write(TSSICom::JitterWindow, microseconds);
}

void SsiOutputEditors::OnChangeJitterWindow() {
    if (!rules::ChecksJitterWindowOnExit(contract_.sensor().FirmwareVersionNumber()))
        return;
    contract_.finishExit(
        *ssi_.JitterWindow,
        changes::Accepts(TSSICom::JitterWindow, FieldNumber(ssi_.JitterWindow->text())),
        Id::BadJitterWindow);
}

void SsiOutputEditors::OnChangeSiemens(bool checked) {
    auto& flags = contract_.sensor()[TSSICom::OutputFlags];
    if (checked && expert_.KModelChosen()) {
        contract_.refuseFlagForKFamily(*flags_.Siemens, TSSICom::OutputFlags, rules::SiemensBit);
        return;
    }
    flags_.Siemens->setColour(FieldColour::Highlight);
    contract_.write(
        TSSICom::OutputFlags,
        rules::OutputFlagsWithSiemens(flags.Value, checked, contract_.sensor().FirmwareType()));
}

void SsiOutputEditors::TemperatureClick(bool checked) {
    auto& sensor = contract_.sensor();
    auto& flags = sensor[TSSICom::OutputFlags];
    if (checked && expert_.KModelChosen()) {
        contract_.refuseFlagForKFamily(*flags_.Temperature, TSSICom::OutputFlags,
                                       rules::TemperatureBit);
        return;
    }
    flags_.Temperature->setColour(FieldColour::Highlight);
    contract_.write(TSSICom::OutputFlags,
                    rules::WithFlag(flags.Value, rules::TemperatureBit, checked));
    if (!rules::AppliesCorrections(sensor.FirmwareVersionNumber()))
        return;
    if (!checked) {
        ssi_.BitWidth->setEnabled(true);
        return;
    }
    forceTemperatureBitWidth();
}

// The field's new text writes the width through its live handler as well.
void SsiOutputEditors::forceTemperatureBitWidth() {
    contract_.show(Id::TemperatureNeeds24Bits, MessageIcon::Information);
    ssi_.BitWidth->setColour(FieldColour::Highlight);
    contract_.sensor()[TSSICom::BitWidth].Value = rules::TemperatureBitWidth;
    ssi_.BitWidth->setText(QString::number(rules::TemperatureBitWidth));
    ssi_.BitWidth->setEnabled(false);
    contract_.write(TSSICom::BitWidth);
}

void SsiOutputEditors::SSI_Start_CheckBoxClick(bool checked) {
    if (checked && expert_.KModelChosen()) {
        contract_.sensor()[TSSICom::SSIStartSync].Value = 0;
        contract_.refuseForKFamily([this] { ssi_.SSI_Start_CheckBox->setChecked(false); },
                                   Id::KSeriesSsiNotAvailable);
        return;
    }
    ssi_.SSI_Start_CheckBox->setColour(FieldColour::Highlight);
    contract_.write(TSSICom::SSIStartSync, checked ? 1 : 0);
}

}  // namespace params
