#include "ui/MainState.h"

#include "ui/PairedMessage.h"

MainState::PollPause::PollPause(MainState& state) : state_(state) {
    if (state_.pauses_++ == 0)
        run(state_.operations_.stopPolling);
}

MainState::PollPause::~PollPause() {
    if (--state_.pauses_ == 0)
        run(state_.operations_.startPolling);
}

void MainState::run(const std::function<void()>& operation) {
    if (operation)
        operation();
}

void MainState::MarkParametersChanged() {
    ParametersChanged = true;
    if (operations_.showParametersChanged)
        operations_.showParametersChanged(true);
}

void MainState::ClearParametersChanged() {
    ParametersChanged = false;
    if (operations_.showParametersChanged)
        operations_.showParametersChanged(false);
}

void MainState::WriteOutcome(bool succeeded) {
    if (succeeded) {
        MarkParametersChanged();
        return;
    }
    ShowPairedMessage(dialogs_, UiLanguage, messages::communicationError(), MessageButtons::Ok,
                      MessageIcon::Error);
    ClearParametersChanged();
    SensorOnline = false;
}

void MainState::RefreshView() {
    run(operations_.refreshView);
}

void MainState::ApplyLanguage() {
    run(operations_.applyLanguage);
}

void MainState::PollAtConnectedPace() {
    run(operations_.pollAtConnectedPace);
}

void MainState::ShowNotConnected() {
    run(operations_.showNotConnected);
}

void MainState::Record(const SensorOperation& operation) {
    if (operations_.record)
        operations_.record(operation);
}

void MainState::RecordOutcome(history::Operation operation, bool ok, const MessagePair& failure,
                              std::string subject, SensorOperation::Kept kept) {
    const QString message = ok ? QString() : pick(UiLanguage, failure.text).value_or(QString());
    Record({operation, ok, message, std::move(subject), kept});
}
