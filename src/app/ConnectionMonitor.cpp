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
#include "ui/Dialogs.h"
#include "ui/MainState.h"
#include "ui/WaitCursor.h"
#include "ui/controls/PageControl.h"
#include "ui/controls/StatusLamp.h"

namespace {

constexpr uint32_t MissedPollsLimit = 65534;

void SetFileActionsEnabled(MainControls& ui, bool enabled) {
    for (QAction* action : {ui.FileOpenItem, ui.FileSaveAsItem, ui.TestSensor, ui.Print}) {
        action->setEnabled(enabled);
    }
}

}  // namespace

ConnectionMonitor::ConnectionMonitor(ConnectionMonitorParts parts)
    : parts_(std::move(parts)), state_(parts_.state), link_(parts_.link), ui_(parts_.ui) {}

void ConnectionMonitor::Tick() {
    link_.Purge();
    parts_.timer.stop();
    parts_.timer.setInterval(ConnectedIntervalMs);
    if (SensorAnswers()) {
        SensorPresent();
    } else {
        SensorMissing();
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
        if (!link_.ReadParameterSet()) {
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
    state_.MissedPolls = std::min(state_.MissedPolls, MissedPollsLimit) + 1;
    if (state_.MissedPolls == WarningAtMissedPoll && state_.ParametersChanged) {
        OfferDisconnectWarning();
        ++state_.MissedPolls;
        return;
    }
    parts_.timer.setInterval(SearchingIntervalMs);
    link_.WakeSensor();
}

void ConnectionMonitor::OfferDisconnectWarning() {
    parts_.showStatus(app::Status::UpdatePending, QString());
    TDisconnectWarningForm warning(link_, parts_.dialogs, &parts_.window);
    if (parts_.dialogs.execDialog(warning) != TDisconnectWarningForm::UpdatedResult)
        return;
    ui_.StatusLED->setColour(StatusLamp::Green);
    parts_.showStatus(app::Status::Established, LinkPort());
    state_.ClearParametersChanged();
    if (!link_.ReadParameterSetStrict())
        state_.SensorOnline = false;
    state_.RefreshView();
}

void ConnectionMonitor::ShowOperatingTime() {
    parts_.parameters.ShowOperatingTime(static_cast<uint32_t>(link_[TSSICom::OperatingTime].Value));
}

QString ConnectionMonitor::LinkPort() const {
    return QString::number(link_.PortNumber());
}
