#include "params/editors/ExpertEditors.h"

#include <QPushButton>

#include "comm/SensorRules.h"
#include "comm/SettingChanges.h"
#include "comm/SettingRules.h"
#include "comm/ViewRules.h"
#include "params/editors/OffsetEditor.h"
#include "ui/MainState.h"
#include "ui/controls/EditorContract.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/RadioGroup.h"

namespace params {

namespace {

using mainmessages::Id;

constexpr int KbfStages = 8;

}  // namespace

ExpertEditors::ExpertEditors(PageControls& controls, EditorContract& contract, OffsetEditor& offset)
    : ui_(controls), page_(controls.ExpertSettings), contract_(contract), offset_(offset) {
    connectHandlers();
}

void ExpertEditors::connectHandlers() {
    using Guard = EditorContract::Guard;
    contract_.bindEdit(
        *page_.FactoryNumber, [this](const QString& text) { OnEditFactoryNumber(text); },
        [this] { OnChangeFactoryNumber(); });
    contract_.bindEdit(
        *page_.UltrasonicSpeed, [this](const QString& text) { OnEditUltrasonicSpeed(text); },
        [this] { OnChangeUltrasonicSpeed(); });
    contract_.bindEdit(
        *page_.CycleTime, [this](const QString& text) { OnEditCycleTime(text); },
        [this] { OnChangeCycleTime(); });
    contract_.bindEdit(
        *page_.SyncTiming, [this](const QString& text) { OnEditSyncTiming(text); },
        [this] { OnChangeSyncTiming(); });
    contract_.bindEdit(
        *page_.MonoflopTime, [this](const QString& text) { OnEditMonoflopTime(text); },
        [this] { OnChangeMonoflopTime(); });
    contract_.bindChoice(
        *page_.ChargepumpStages, [this](int item) { OnChangeChargepumpStages(item); },
        Guard::Refresh);
    contract_.bindChoice(*page_.Model, [this](int item) { OnChangeModel(item); });
    contract_.bindEdit(
        *page_.Blanking, [this](const QString& text) { BlankingChange(text); },
        [this] { BlankingExit(); });
    QObject::connect(page_.Q_SERIE, &QPushButton::clicked, page_.Q_SERIE, [this] {
        if (!contract_.state().ViewRefreshing)
            Q_SERIEClick();
    });
}

void ExpertEditors::OnEditFactoryNumber(const QString& text) {
    if (!changes::AcceptsFactoryNumber(text.toStdString()))
        return;
    contract_.sensor()[TSSICom::FactoryNumber].Reply = text.toStdString();
    page_.FactoryNumber->setColour(FieldColour::Highlight);
    contract_.write(TSSICom::FactoryNumber);
}

void ExpertEditors::OnChangeFactoryNumber() {
    if (changes::AcceptsFactoryNumber(page_.FactoryNumber->text().toStdString()))
        return;
    contract_.finishExit(*page_.FactoryNumber, false, Id::BadFactoryNumber);
}

void ExpertEditors::ParameterPageExit() {
    if (contract_.state().SensorOnline && !contract_.state().ViewRefreshing)
        OnChangeFactoryNumber();
}

// The offset field keeps its micrometres: the offset is written again in the new scale.
void ExpertEditors::OnEditUltrasonicSpeed(const QString& text) {
    const auto speed = StrictNumber(text);
    if (!speed)
        return;
    TSSICom& sensor = contract_.sensor();
    page_.UltrasonicSpeed->setColour(FieldColour::Highlight);
    const bool written = changes::WriteSpeedAndScale(sensor, *speed);
    contract_.state().RecordOutcome(history::Operation::Write, written,
                                    messages::communicationError(),
                                    TSSICom::RegisterKey(TSSICom::UltrasonicSpeed));
    if (!written) {
        contract_.state().WriteOutcome(false);
        return;
    }
    offset_.OnEditOffset(ui_.Measurement.Offset->text());
    sensor[TSSICom::Offset].Modified = 0;
    ui_.Measurement.Offset->setColour(FieldColour::White);
    contract_.state().MarkParametersChanged();
    showScale();
}

void ExpertEditors::OnChangeUltrasonicSpeed() {
    const auto speed = StrictNumber(page_.UltrasonicSpeed->text());
    const bool accepted = speed && changes::Accepts(TSSICom::UltrasonicSpeed, *speed);
    if (accepted && contract_.sensor()[TSSICom::Resolution].Value != 0)
        showScale();
    contract_.finishExit(*page_.UltrasonicSpeed, accepted, Id::BadUltrasonicSpeed);
}

void ExpertEditors::showScale() {
    page_.Scale->setText(
        QString::number(static_cast<uint32_t>(contract_.sensor()[TSSICom::Scale].Value)));
}

void ExpertEditors::writeNumber(LabeledEdit& edit, TSSICom::RegisterIndex r, const QString& text) {
    const auto number = StrictNumber(text);
    if (!number || !changes::Accepts(r, *number))
        return;
    edit.setColour(FieldColour::Highlight);
    contract_.write(r, *number);
}

bool ExpertEditors::accepts(TSSICom::RegisterIndex r, const LabeledEdit& edit) {
    const auto number = StrictNumber(edit.text());
    return number && changes::Accepts(r, *number);
}

void ExpertEditors::OnEditCycleTime(const QString& text) {
    writeNumber(*page_.CycleTime, TSSICom::CycleTime, text);
}

void ExpertEditors::OnChangeCycleTime() {
    contract_.finishExit(*page_.CycleTime, accepts(TSSICom::CycleTime, *page_.CycleTime),
                         Id::BadCycleTime);
}

void ExpertEditors::OnEditSyncTiming(const QString& text) {
    writeNumber(*page_.SyncTiming, TSSICom::SyncTiming, text);
}

void ExpertEditors::OnChangeSyncTiming() {
    contract_.finishExit(*page_.SyncTiming, accepts(TSSICom::SyncTiming, *page_.SyncTiming),
                         Id::BadSyncTiming);
}

void ExpertEditors::OnEditMonoflopTime(const QString& text) {
    const int32_t time = FieldNumber(text);
    if (!changes::Accepts(TSSICom::MonoflopTime, time))
        return;
    page_.MonoflopTime->setColour(FieldColour::Highlight);
    contract_.write(TSSICom::MonoflopTime, time);
}

void ExpertEditors::OnChangeMonoflopTime() {
    contract_.finishExit(
        *page_.MonoflopTime,
        changes::Accepts(TSSICom::MonoflopTime, FieldNumber(page_.MonoflopTime->text())),
        Id::BadMonoflopTime);
}

// A list of three items leaves no item selected when an eight-stage index was shown.
void ExpertEditors::OnChangeChargepumpStages(int item) {
    if (item < 0)
        return;
    const bool kbf =
        rules::HasEightChargepumpStages(contract_.state().SensorTypeText.toStdString());
    page_.ChargepumpStages->setColour(FieldColour::Highlight);
    auto& chargepump = contract_.sensor()[TSSICom::Chargepump];
    if (!kbf || item < KbfStages)
        chargepump.Value = rules::ChargepumpValue(kbf, item);
    contract_.write(TSSICom::Chargepump);
}

void ExpertEditors::OnChangeModel(int item) {
    TSSICom& sensor = contract_.sensor();
    page_.Model->setColour(FieldColour::Highlight);
    sensor[TSSICom::Model].Value = rules::ModelValueForItem(item, sensor.FirmwareVersionNumber());
    sensor[TSSICom::Model].Modified = 1;
    if (contract_.writeRegister(TSSICom::Model)) {
        contract_.state().MarkParametersChanged();
        return;
    }
    modelRefused();
}

// The choice shows what the register now holds, by the same mapping as the refresh.
void ExpertEditors::modelRefused() {
    TSSICom& sensor = contract_.sensor();
    contract_.state().WriteOutcome(false);
    contract_.selectQuietly(*page_.Model,
                            rules::ModelCodeFor(sensor[TSSICom::Model].Value).modelItem);
    page_.Model->setColour(FieldColour::ButtonFace);
    sensor[TSSICom::Model].Modified = 0;
}

void ExpertEditors::BlankingChange(const QString& text) {
    writeNumber(*page_.Blanking, TSSICom::Blanking, text);
}

void ExpertEditors::BlankingExit() {
    contract_.finishExit(*page_.Blanking,
                         changes::Accepts(TSSICom::Blanking, FieldNumber(page_.Blanking->text())),
                         Id::BadBlanking);
}

// Judged by the write's result: the converted letters are never QH or QP.
void ExpertEditors::Q_SERIEClick() {
    TSSICom& sensor = contract_.sensor();
    page_.Model->setColour(FieldColour::Highlight);
    if (auto conversion =
            rules::QSeriesConversion(sensor.FirmwareVersionNumber(), page_.Model->itemIndex())) {
        sensor[TSSICom::Model].Value = conversion->modelValue;
        if (conversion->item >= 0)
            contract_.selectQuietly(*page_.Model, conversion->item);
    }
    contract_.write(TSSICom::Model);
}

}  // namespace params
