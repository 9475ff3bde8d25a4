#include "app/ConnectionMonitor.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "app/Disconnectwarning.h"
#include "app/MainControls.h"
#include "app/StatusLine.h"
#include "comm/SensorRules.h"
#include "comm/Ssicom.h"
#include "params/ParameterPages.h"
#include "platform/ComPortMap.h"
#include "ui/Dialogs.h"
#include "ui/MainState.h"
#include "ui/Texts.h"
#include "ui/WaitCursor.h"
#include "ui/controls/PageControl.h"
#include "ui/controls/StatusLamp.h"

namespace {

constexpr uint32_t MissedPollsLimit = 65534;

void SetFileActionsEnabled(MainControls& ui, bool enabled) {
    for (QAction* action :
         {ui.FileOpenItem, ui.FileSaveAsItem, ui.TestSensor, ui.Print, ui.FileHistoryItem}) {
        action->setEnabled(enabled);
    }
}

}  // namespace

ConnectionMonitor::ConnectionMonitor(ConnectionMonitorParts parts)
    : parts_(std::move(parts)), state_(parts_.state), link_(parts_.link), ui_(parts_.ui) {}

void ConnectionMonitor::Tick() {
    parts_.timer.stop();
    parts_.timer.setInterval(ConnectedIntervalMs);
    if (deviceGone_) {
        ShowSensorMissing();
        if (!PollMissed())
            parts_.timer.setInterval(SearchingIntervalMs);
    } else {
        link_.Purge();
        if (SensorAnswers()) {
            SensorPresent();
        } else {
            SensorMissing();
        }
    }
    parts_.timer.start();
}

bool ConnectionMonitor::SensorAnswers() {
    const bool portUsable = link_.CheckPort() || state_.PortNumber == TSerialCom::DemoPort;
    return portUsable && link_.ReadRegister(TSSICom::FactoryNumber);
}

void ConnectionMonitor::SensorPresent() {
    state_.MissedPolls = 0;
    if (state_.PortNumber == TSerialCom::DemoPort) {
        parts_.showStatus(app::Status::Demo, QStringLiteral("scroll"));
    }
    if (!state_.SensorOnline && !SensorAppeared())
        return;
    link_.ReadRegister(TSSICom::OperatingTime);
    ShowOperatingTime();
}

bool ConnectionMonitor::SensorAppeared() {
    WaitCursor hourglass;
    state_.SensorOnline = true;
    ui_.StatusLED->setColour(StatusLamp::Yellow);
    parts_.showStatus(app::Status::Found, LinkPort());
    const QString factoryNumber = QString::fromStdString(link_[TSSICom::FactoryNumber].Reply);
    if (factoryNumber != state_.LastFactoryNumber) {
        state_.LastFactoryNumber = factoryNumber;
        state_.ClearParametersChanged();
        const bool read = link_.ReadParameterSet();
        state_.RecordOutcome(history::Operation::Read, read, messages::communicationError());
        if (!read) {
            state_.SensorOnline = false;
            state_.LastFactoryNumber = MainState::NoFactoryNumber;
            return false;
        }
    } else if (state_.ParametersChanged) {
        link_.WriteParameterSet();
        state_.MarkParametersChanged();
    }
    state_.RefreshView();
    ShowConnected();
    return true;
}

void ConnectionMonitor::ShowConnected() {
    ui_.StatusLED->setColour(StatusLamp::Green);
    parts_.showStatus(app::Status::Established, LinkPort());
    const bool demo = state_.PortNumber == TSerialCom::DemoPort;
    ui_.SelComPort->setVisible(demo);
    if (demo)
        parts_.showStatus(app::Status::Demo, QString());
    ui_.ParameterPage->setEnabled(true);
    ui_.RestoreFactorySettings1->setEnabled(rules::CommitsWithCN(link_.FirmwareVersionNumber()));
    SetFileActionsEnabled(ui_, true);
    ui_.FirmwareUpdate->setVisible(false);
    ui_.FirmwareUpdateSeparator->setVisible(false);
    if (parts_.trace)
        parts_.trace("sensor: " + state_.LastFactoryNumber);
}

void ConnectionMonitor::SensorMissing() {
    ShowSensorMissing();
    if (PollMissed())
        return;
    parts_.timer.setInterval(SearchingIntervalMs);
    link_.WakeSensor();
}

void ConnectionMonitor::ShowSensorMissing() {
    ui_.StatusLine->setFocus();
    ui_.SelComPort->setVisible(true);
    state_.SensorOnline = false;
    ui_.ParameterPage->setEnabled(false);
    ui_.RestoreFactorySettings1->setEnabled(false);
    SetFileActionsEnabled(ui_, false);
    ui_.FirmwareUpdate->setVisible(true);
    ui_.FirmwareUpdateSeparator->setVisible(true);
    ui_.StatusLED->setColour(StatusLamp::Red);
    parts_.showStatus(app::Status::NotConnected, QString::number(state_.PortNumber));
}

bool ConnectionMonitor::PollMissed() {
    state_.MissedPolls = std::min(state_.MissedPolls, MissedPollsLimit) + 1;
    if (state_.MissedPolls != WarningAtMissedPoll || !state_.ParametersChanged)
        return false;
    OfferDisconnectWarning();
    ++state_.MissedPolls;
    return true;
}

void ConnectionMonitor::DeviceEvent(const platform::PortEvent& event) {
    if (event.kind == platform::PortEvent::Kind::Removed && !deviceGone_ && link_.IsOpen() &&
        IsOpenPortsDevice(event)) {
        DeviceRemoved(event);
    } else if (event.kind == platform::PortEvent::Kind::Added && deviceGone_ &&
               IsGoneAdapter(event)) {
        DeviceBack(event);
    }
}

bool ConnectionMonitor::IsOpenPortsDevice(const platform::PortEvent& event) const {
    if (state_.PortNumber == TSerialCom::DemoPort)
        return false;
    const std::string path = parts_.ports.devicePath(state_.PortNumber);
    return path == event.devicePath || (!event.byIdPath.empty() && path == event.byIdPath);
}

bool ConnectionMonitor::IsGoneAdapter(const platform::PortEvent& event) const {
    if (!goneStableName_.empty())
        return event.byIdPath == goneStableName_;
    return IsOpenPortsDevice(event);
}

void ConnectionMonitor::DeviceRemoved(const platform::PortEvent& event) {
    deviceGone_ = true;
    goneStableName_ = event.byIdPath;
    link_.Close();
    ShowSensorMissing();
}

// The port number leads to the adapter by its stable name from now on, whatever
// device name it came back under. Should it not open yet, the polls go on trying.
void ConnectionMonitor::DeviceBack(const platform::PortEvent& event) {
    deviceGone_ = false;
    if (!event.byIdPath.empty() && !IsOpenPortsDevice(event))
        parts_.ports.setDevicePath(state_.PortNumber, event.byIdPath);
    link_.OpenDefault(state_.PortNumber);
}

void ConnectionMonitor::OfferDisconnectWarning() {
    parts_.showStatus(app::Status::UpdatePending, QString());
    TDisconnectWarningForm warning(link_, parts_.dialogs, &parts_.window);
    if (parts_.dialogs.execDialog(warning) != TDisconnectWarningForm::UpdatedResult)
        return;
    ui_.StatusLED->setColour(StatusLamp::Green);
    parts_.showStatus(app::Status::Established, LinkPort());
    state_.ClearParametersChanged();
    // The commit's event keeps the set the read after it gives, when it gives one.
    const bool read = link_.ReadParameterSetStrict();
    state_.RecordOutcome(history::Operation::Commit, warning.Committed(),
                         messages::communicationError(), {},
                         read ? SensorOperation::Kept::Set : SensorOperation::Kept::Nothing);
    state_.RecordOutcome(history::Operation::Read, read, messages::communicationError());
    if (!read)
        state_.SensorOnline = false;
    state_.RefreshView();
}

void ConnectionMonitor::ShowOperatingTime() {
    parts_.parameters.ShowOperatingTime(static_cast<uint32_t>(link_[TSSICom::OperatingTime].Value));
}

QString ConnectionMonitor::LinkPort() const {
    return QString::number(link_.PortNumber());
}
