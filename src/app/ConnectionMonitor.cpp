#include "app/ConnectionMonitor.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

#include "app/Disconnectwarning.h"
#include "app/Main.h"
#include "app/StatusLine.h"
#include "comm/SensorRules.h"
#include "params/ParameterPages.h"
#include "ui/Dialogs.h"
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

ConnectionMonitor::ConnectionMonitor(TMainForm& form)
    : form_(form), state_(form.State), link_(form.SensorLink) {}

void ConnectionMonitor::Tick() {
    link_.Purge();
    form_.Timer1->stop();
    form_.Timer1->setInterval(ConnectedIntervalMs);
    if (SensorAnswers()) {
        SensorPresent();
    } else {
        SensorMissing();
    }
    form_.Timer1->start();
}

bool ConnectionMonitor::SensorAnswers() {
    const bool portUsable = link_.CheckPort() || state_.PortNumber == TSerialCom::DemoPort;
    return portUsable && link_.ReadRegister(TSSICom::FactoryNumber);
}

void ConnectionMonitor::SensorPresent() {
    state_.MissedPolls = 0;
    if (state_.PortNumber == TSerialCom::DemoPort) {
        form_.ShowStatus(app::Status::Demo, QStringLiteral("scroll"));
    }
    if (!state_.SensorOnline && !SensorAppeared())
        return;
    link_.ReadRegister(TSSICom::OperatingTime);
    ShowOperatingTime();
}

bool ConnectionMonitor::SensorAppeared() {
    WaitCursor hourglass;
    state_.SensorOnline = true;
    form_.ui.StatusLED->setColour(StatusLamp::Yellow);
    form_.ShowStatus(app::Status::Found, LinkPort());
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
    auto& ui = form_.ui;
    ui.StatusLED->setColour(StatusLamp::Green);
    form_.ShowStatus(app::Status::Established, LinkPort());
    const bool demo = state_.PortNumber == TSerialCom::DemoPort;
    ui.SelComPort->setVisible(demo);
    if (demo)
        form_.ShowStatus(app::Status::Demo, QString());
    ui.ParameterPage->setEnabled(true);
    ui.RestoreFactorySettings1->setEnabled(rules::CommitsWithCN(link_.FirmwareVersionNumber()));
    SetFileActionsEnabled(ui, true);
    ui.FirmwareUpdate->setVisible(false);
    ui.FirmwareUpdateSeparator->setVisible(false);
    if (form_.Trace)
        form_.Trace("sensor: " + state_.LastFactoryNumber);
}

void ConnectionMonitor::SensorMissing() {
    auto& ui = form_.ui;
    ui.StatusLine->setFocus();
    ui.SelComPort->setVisible(true);
    state_.SensorOnline = false;
    ui.ParameterPage->setEnabled(false);
    ui.RestoreFactorySettings1->setEnabled(false);
    SetFileActionsEnabled(ui, false);
    ui.FirmwareUpdate->setVisible(true);
    ui.FirmwareUpdateSeparator->setVisible(true);
    ui.StatusLED->setColour(StatusLamp::Red);
    form_.ShowStatus(app::Status::NotConnected, QString::number(state_.PortNumber));
    state_.MissedPolls = std::min(state_.MissedPolls, MissedPollsLimit) + 1;
    if (state_.MissedPolls == WarningAtMissedPoll && state_.ParametersChanged) {
        OfferDisconnectWarning();
        ++state_.MissedPolls;
        return;
    }
    form_.Timer1->setInterval(SearchingIntervalMs);
    link_.WakeSensor();
}

void ConnectionMonitor::OfferDisconnectWarning() {
    form_.ShowStatus(app::Status::UpdatePending, QString());
    TDisconnectWarningForm warning(link_, form_.dialogs(), &form_);
    if (form_.dialogs().execDialog(warning) != TDisconnectWarningForm::UpdatedResult)
        return;
    form_.ui.StatusLED->setColour(StatusLamp::Green);
    form_.ShowStatus(app::Status::Established, LinkPort());
    state_.ClearParametersChanged();
    if (!link_.ReadParameterSetStrict())
        state_.SensorOnline = false;
    state_.RefreshView();
}

void ConnectionMonitor::ShowOperatingTime() {
    form_.Parameters->ShowOperatingTime(static_cast<uint32_t>(link_[TSSICom::OperatingTime].Value));
}

QString ConnectionMonitor::LinkPort() const {
    return QString::number(link_.PortNumber());
}
