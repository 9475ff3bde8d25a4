#include "ui/controls/EditorContract.h"

#include "comm/SensorRules.h"
#include "ui/MainState.h"
#include "ui/PairedMessage.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/RadioGroup.h"

namespace {

// Keeps the disconnect warning from being offered while a refused value is corrected.
constexpr uint32_t MissedPollsHeld = 65535;

}  // namespace

bool WriteRecorded(MainState& state, TSSICom& sensor, TSSICom::RegisterIndex r) {
    const bool written = sensor.WriteRegister(r);
    state.RecordOutcome(history::Operation::Write, written, messages::communicationError(),
                        TSSICom::RegisterKey(r));
    return written;
}

void EditorContract::bindEdit(LabeledEdit& edit, std::function<void(const QString&)> live,
                              std::function<void()> exit, Guard guard) {
    QObject::connect(&edit, &LabeledEdit::textChanged, &edit,
                     [this, guard, live = std::move(live)](const QString& text) {
                         if (state_.ViewRefreshing)
                             return;
                         if (guard == Guard::RefreshAndControlSettings && takeControlSettings())
                             return;
                         live(text);
                     });
    QObject::connect(&edit, &LabeledEdit::exited, &edit, [this, exit = std::move(exit)] {
        if (state_.SensorOnline && !state_.ViewRefreshing)
            exit();
    });
}

void EditorContract::bindChoice(RadioGroup& group, std::function<void(int)> handler, Guard guard) {
    QObject::connect(&group, &RadioGroup::itemIndexChanged, &group,
                     [this, guard, handler = std::move(handler)](int index) {
                         if (choiceMayRun(guard))
                             handler(index);
                     });
}

void EditorContract::bindCheck(CheckBox& box, std::function<void(bool)> handler, Guard guard) {
    QObject::connect(&box, &CheckBox::changed, &box,
                     [this, guard, handler = std::move(handler)](bool checked) {
                         if (choiceMayRun(guard))
                             handler(checked);
                     });
}

bool EditorContract::choiceMayRun(Guard guard) {
    if (state_.ViewRefreshing)
        return false;
    return guard == Guard::Refresh || !takeControlSettings();
}

bool EditorContract::takeControlSettings() {
    if (!state_.ControlSettings)
        return false;
    state_.ControlSettings = false;
    return true;
}

void EditorContract::finishExit(LabeledEdit& edit, bool accepted, mainmessages::Id refusal) {
    finishExit(edit, accepted, mainmessages::message(refusal));
}

void EditorContract::finishExit(LabeledEdit& edit, bool accepted, const MessagePair& refusal) {
    if (accepted) {
        state_.MissedPolls = 0;
        return;
    }
    state_.MissedPolls = MissedPollsHeld;
    show(refusal);
    edit.focusField();
}

void EditorContract::write(TSSICom::RegisterIndex r, int32_t value) {
    sensor_[r].Value = value;
    write(r);
}

void EditorContract::write(TSSICom::RegisterIndex r) {
    sensor_[r].Modified = 1;
    state_.WriteOutcome(writeRegister(r));
}

void EditorContract::refuseForKFamily(const std::function<void()>& putBack,
                                      mainmessages::Id message) {
    show(message);
    state_.ControlSettings = true;
    putBack();
}

void EditorContract::refuseFlagForKFamily(CheckBox& box, TSSICom::RegisterIndex r, int32_t bit) {
    sensor_[r].Value = rules::WithFlag(sensor_[r].Value, bit, false);
    refuseForKFamily([&box] { box.setChecked(false); });
}

void EditorContract::show(mainmessages::Id message, MessageIcon icon) {
    show(mainmessages::message(message), icon);
}

void EditorContract::show(const MessagePair& message, MessageIcon icon) {
    ShowPairedMessage(state_.dialogs(), state_.UiLanguage, message, MessageButtons::Ok, icon);
}

void EditorContract::selectQuietly(RadioGroup& group, int item) {
    if (group.itemIndex() == item)
        return;
    state_.ControlSettings = true;
    group.setItemIndex(item);
}

void EditorContract::checkQuietly(CheckBox& box, bool checked) {
    if (box.isChecked() == checked)
        return;
    state_.ControlSettings = true;
    box.setChecked(checked);
}

int32_t FieldNumber(const QString& text) {
    return rules::FieldInteger(text.toStdString());
}

std::optional<int32_t> StrictNumber(const QString& text) {
    bool isNumber = false;
    const int32_t value = text.toInt(&isNumber);
    return isNumber ? std::optional<int32_t>(value) : std::nullopt;
}
