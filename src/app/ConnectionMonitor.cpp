#include "app/ConnectionMonitor.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

#include "app/Dialogs.h"
#include "app/Disconnectwarning.h"
#include "app/Main.h"
#include "app/OperatingTime.h"
#include "app/PairedMessage.h"
#include "app/StatusLine.h"
#include "app/WaitCursor.h"
#include "app/controls/LabeledEdit.h"
#include "app/controls/PageControl.h"
#include "app/controls/StatusLamp.h"

namespace {

constexpr uint32_t MissedPollsLimit = 65534;
constexpr int32_t EnCommitFirmware = 3960100;

const MessagePair& CommitQuestion() {
    static const MessagePair message{
        {QStringLiteral("The changed parameters haven't been saved. Should they be saved now?"),
         QStringLiteral("Die geänderten Daten wurden nicht gespeichert. Speichern?")},
        {QStringLiteral("EEPROM update"), QStringLiteral("EEPROM update")}};
    return message;
}

void SetFileActionsEnabled(MainControls& ui, bool enabled) {
    for (QAction* action : {ui.FileOpenItem, ui.FileSaveAsItem, ui.TestSensor, ui.Print}) {
        action->setEnabled(enabled);
    }
}

}  // namespace

ConnectionMonitor::ConnectionMonitor(TMainForm& form) : form_(form), link_(*form.SensorLink) {}

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
    const bool portUsable = link_.CheckPort() || form_.PortNumber == TSerialCom::DemoPort;
    return portUsable && link_.ReadRegister(TSSICom::FactoryNumber);
}

void ConnectionMonitor::SensorPresent() {
    form_.MissedPolls = 0;
    if (form_.PortNumber == TSerialCom::DemoPort) {
        form_.ShowStatus(static_cast<int>(app::Status::Demo), QStringLiteral("scroll"));
    }
    if (!form_.SensorOnline && !SensorAppeared())
        return;
    link_.ReadRegister(TSSICom::OperatingTime);
    ShowOperatingTime();
}

bool ConnectionMonitor::SensorAppeared() {
    WaitCursor hourglass;
    form_.SensorOnline = true;
    form_.ui.StatusLED->setColour(StatusLamp::Yellow);
    form_.ShowStatus(static_cast<int>(app::Status::Found), LinkPort());
    const QString factoryNumber = QString::fromStdString(link_[TSSICom::FactoryNumber].Reply);
    if (factoryNumber != form_.LastFactoryNumber) {
        form_.LastFactoryNumber = factoryNumber;
        form_.ClearParametersChanged();
        if (!link_.ReadParameterSet()) {
            form_.SensorOnline = false;
            form_.LastFactoryNumber = TMainForm::NoFactoryNumber;
            return false;
        }
    } else if (form_.ParametersChanged) {
        link_.WriteParameterSet();
        form_.MarkParametersChanged();
    }
    form_.RefreshParameterView();
    ShowConnected();
    return true;
}

void ConnectionMonitor::ShowConnected() {
    auto& ui = form_.ui;
    ui.StatusLED->setColour(StatusLamp::Green);
    form_.ShowStatus(static_cast<int>(app::Status::Established), LinkPort());
    const bool demo = form_.PortNumber == TSerialCom::DemoPort;
    ui.SelComPort->setVisible(demo);
    if (demo)
        form_.ShowStatus(static_cast<int>(app::Status::Demo), QString());
    ui.ParameterPage->setEnabled(true);
    ui.RestoreFactorySettings1->setEnabled(link_.FirmwareVersionNumber() > EnCommitFirmware);
    SetFileActionsEnabled(ui, true);
    ui.FirmwareUpdate->setVisible(false);
    ui.FirmwareUpdateSeparator->setVisible(false);
    if (form_.Trace)
        form_.Trace("sensor: " + form_.LastFactoryNumber);
}

void ConnectionMonitor::SensorMissing() {
    auto& ui = form_.ui;
    ui.StatusLine->setFocus();
    ui.SelComPort->setVisible(true);
    form_.SensorOnline = false;
    ui.ParameterPage->setEnabled(false);
    ui.RestoreFactorySettings1->setEnabled(false);
    SetFileActionsEnabled(ui, false);
    ui.FirmwareUpdate->setVisible(true);
    ui.FirmwareUpdateSeparator->setVisible(true);
    ui.StatusLED->setColour(StatusLamp::Red);
    form_.ShowStatus(static_cast<int>(app::Status::NotConnected),
                     QString::number(form_.PortNumber));
    form_.MissedPolls = std::min(form_.MissedPolls, MissedPollsLimit) + 1;
    if (form_.MissedPolls == WarningAtMissedPoll && form_.ParametersChanged) {
        OfferDisconnectWarning();
        ++form_.MissedPolls;
        return;
    }
    form_.Timer1->setInterval(SearchingIntervalMs);
    link_.WakeSensor();
}

void ConnectionMonitor::OfferDisconnectWarning() {
    form_.ShowStatus(static_cast<int>(app::Status::UpdatePending), QString());
    TDisconnectWarningForm warning(link_, form_.dialogs(), &form_);
    if (form_.dialogs().execDialog(warning) != TDisconnectWarningForm::UpdatedResult)
        return;
    form_.ui.StatusLED->setColour(StatusLamp::Green);
    form_.ShowStatus(static_cast<int>(app::Status::Established), LinkPort());
    form_.ClearParametersChanged();
    if (!link_.ReadParameterSetStrict())
        form_.SensorOnline = false;
    form_.RefreshParameterView();
}

void ConnectionMonitor::ShowOperatingTime() {
    auto& ui = form_.ui;
    const app::OperatingTime time =
        app::SplitOperatingTime(static_cast<uint32_t>(link_[TSSICom::OperatingTime].Value));
    ui.OpTimeYears->setText(QString::number(time.years));
    ui.OpTimeMonth->setText(QString::number(time.months));
    ui.OpTimeDays->setText(QString::number(time.days));
    ui.OpTimeHours->setText(QString::number(time.hours));
    ui.OpTimeMinutes->setText(QString::number(time.minutes));
}

QString ConnectionMonitor::LinkPort() const {
    return QString::number(link_.PortNumber());
}

void TMainForm::IdleFunction() {
    ConnectionMonitor(*this).Tick();
}

void TMainForm::ShowStatus(int code, const QString& argument) {
    const app::StatusShown now{ui.StatusText->text(), ui.StatusLED->colour()};
    const auto next = app::NextStatus(static_cast<app::Status>(code), argument, UiLanguage, now);
    ui.StatusLED->setColour(next.lamp);
    if (next.text == now.text)
        return;
    ui.StatusText->setText(next.text);
    ui.StatusText->repaint();
    if (Trace && code != static_cast<int>(app::Status::Demo))
        Trace("status: " + next.text);
}

void TMainForm::FormClose() {
    if (!SensorLink)
        return;
    TSSICom& link = *SensorLink;
    link.WriteRegister(TSSICom::Measurement);
    if (link.FirmwareVersionNumber() <= EnCommitFirmware) {
        link.WriteFactorySettings();
        ClearParametersChanged();
        return;
    }
    const MessageResult answer =
        ParametersChanged ? ShowPairedMessage(dialogs(), UiLanguage, CommitQuestion(),
                                              MessageButtons::YesNo, MessageIcon::Question)
                          : MessageResult::Yes;
    if (answer == MessageResult::No)
        return;
    link.CommitToEeprom();
    ClearParametersChanged();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    FormClose();
    QMainWindow::closeEvent(event);
}
