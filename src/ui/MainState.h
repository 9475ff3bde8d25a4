#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <string>

#include "comm/Serialcom.h"
#include "history/Event.h"
#include "ui/AccessLevel.h"

class Dialogs;
struct MessagePair;

// What the history is told after an operation on the sensor returned. A
// successful one keeps what it read or wrote, as the program holds it now.
struct SensorOperation {
    enum class Kept { Set, SetAndTable, Nothing };

    history::Operation operation = history::Operation::Read;
    bool ok = true;
    QString message;      // the text the user saw when it failed
    std::string subject;  // the register key of a single write, the file of a load
    Kept kept = Kept::Set;
};

// The state the main window's subsystems share, and the operations on it that
// reach beyond one subsystem. The main window connects the operations to its
// controls and its poll timer.
class MainState {
public:
    static inline const QString NoFactoryNumber = QStringLiteral("XXXXXXXX");

    // What the main window does for the shared operations.
    struct Operations {
        std::function<void(bool changed)> showParametersChanged;
        std::function<void()> refreshView;
        std::function<void()> applyLanguage;
        std::function<void()> stopPolling;
        std::function<void()> startPolling;
        // The poll's pace while a sensor answers.
        std::function<void()> pollAtConnectedPace;
        // The status lamp and line say that the sensor does not answer.
        std::function<void()> showNotConnected;
        // The history records the operation.
        std::function<void(const SensorOperation& operation)> record;
    };

    // Stops the poll for as long as it lives; the outermost pause restarts it.
    class PollPause {
    public:
        explicit PollPause(MainState& state);
        ~PollPause();
        PollPause(const PollPause&) = delete;
        PollPause& operator=(const PollPause&) = delete;

    private:
        MainState& state_;
    };

    explicit MainState(Dialogs& dialogs) : dialogs_(dialogs) {}

    void Connect(Operations operations) { operations_ = std::move(operations); }

    bool SensorOnline = false;
    bool ParametersChanged = false;
    QString LastFactoryNumber = NoFactoryNumber;
    uint8_t PortNumber = TSerialCom::DemoPort;
    uint32_t MissedPolls = 0;
    bool ViewRefreshing = false;
    // The one-shot flag of the choice handlers: the next choice event is swallowed.
    bool ControlSettings = false;
    uint8_t UiLanguage = 0;
    TAccessLevel AccessLevel = TAccessLevel::User;
    QString SensorTypeText;
    bool LinTableCached = false;
    int32_t MinPeriodOverhead = 33;

    // Which wording the texts that depend on the sensor show; the language
    // switch and the refresh both apply them through the text catalogue.
    enum class CycleTimeWording { Initial, Asynchronous, Synchronous };
    CycleTimeWording CycleTimeCaption = CycleTimeWording::Initial;
    bool InternalLinearization = true;

    void MarkParametersChanged();
    void ClearParametersChanged();
    // After a write to the sensor: a success marks the parameters changed; a
    // failure says so, clears the mark and takes the sensor offline.
    void WriteOutcome(bool succeeded);
    void RefreshView();
    void ApplyLanguage();
    PollPause PausePolling() { return PollPause(*this); }
    void PollAtConnectedPace();
    void ShowNotConnected();
    void Record(const SensorOperation& operation);
    // Records the operation; a failed one with `failure`'s text in the window's language.
    void RecordOutcome(history::Operation operation, bool ok, const MessagePair& failure,
                       std::string subject = {},
                       SensorOperation::Kept kept = SensorOperation::Kept::Set);

    Dialogs& dialogs() { return dialogs_; }

private:
    static void run(const std::function<void()>& operation);

    Dialogs& dialogs_;
    Operations operations_;
    int pauses_ = 0;
};
