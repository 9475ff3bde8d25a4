#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include "comm/Ssicom.h"
#include "ui/Dialogs.h"
#include "ui/MainMessages.h"

class CheckBox;
class LabeledEdit;
class MainState;
class RadioGroup;

// Writes what the register holds and records the write in the history, with
// the register's key and, when it failed, the communication error.
bool WriteRecorded(MainState& state, TSSICom& sensor, TSSICom::RegisterIndex r);

// The rules every parameter editor keeps, written once. Handlers connected
// through it never run while the view is being refreshed; choice handlers also
// swallow the one event after ControlSettings was set; an edit field's exit
// handler runs only while the sensor is online.
class EditorContract {
public:
    enum class Guard { Refresh, RefreshAndControlSettings };

    EditorContract(MainState& state, TSSICom& sensor) : state_(state), sensor_(sensor) {}

    void bindEdit(LabeledEdit& edit, std::function<void(const QString&)> live,
                  std::function<void()> exit, Guard guard = Guard::Refresh);
    void bindChoice(RadioGroup& group, std::function<void(int)> handler,
                    Guard guard = Guard::RefreshAndControlSettings);
    void bindCheck(CheckBox& box, std::function<void(bool)> handler,
                   Guard guard = Guard::RefreshAndControlSettings);

    // The end of an exit handler: an accepted text clears MissedPolls; a refused
    // one shows the field's message, keeps the focus in the field and holds the
    // disconnect warning back.
    void finishExit(LabeledEdit& edit, bool accepted, mainmessages::Id refusal);
    void finishExit(LabeledEdit& edit, bool accepted, const MessagePair& refusal);

    // Stores the value, marks the register modified, writes it and ends with WriteOutcome.
    void write(TSSICom::RegisterIndex r, int32_t value);
    // Marks the register modified, writes what it holds and ends with WriteOutcome.
    void write(TSSICom::RegisterIndex r);
    // Writes what the register holds and records the write in the history.
    bool writeRegister(TSSICom::RegisterIndex r) { return WriteRecorded(state_, sensor_, r); }

    // The K family cannot take the setting: says so and sets ControlSettings, so
    // that `putBack`, which returns the control to the supported choice, runs no handler.
    void refuseForKFamily(const std::function<void()>& putBack,
                          mainmessages::Id message = mainmessages::Id::KSeriesNotAvailable);

    // The K family cannot take the flag `bit` of register `r`: it is cleared in memory
    // and `box` is unchecked without running its handler.
    void refuseFlagForKFamily(CheckBox& box, TSSICom::RegisterIndex r, int32_t bit);

    void show(mainmessages::Id message, MessageIcon icon = MessageIcon::Error);
    void show(const MessagePair& message, MessageIcon icon = MessageIcon::Error);

    // Selects `item` from code without running the group's handler.
    void selectQuietly(RadioGroup& group, int item);
    // Checks or unchecks the box from code without running its handler.
    void checkQuietly(CheckBox& box, bool checked);

    // ControlSettings, for the handlers that test it themselves.
    bool takeControlSettings();

    MainState& state() { return state_; }
    TSSICom& sensor() { return sensor_; }

private:
    bool choiceMayRun(Guard guard);

    MainState& state_;
    TSSICom& sensor_;
};

// A field's text as a number when it is one, and 0 when it is not.
int32_t FieldNumber(const QString& text);
// A field's text as a number, nothing when it is not one.
std::optional<int32_t> StrictNumber(const QString& text);

inline bool InRange(int64_t value, int64_t low, int64_t high) {
    return value >= low && value <= high;
}
