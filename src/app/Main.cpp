#include "app/Main.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QSocketNotifier>
#include <QTimer>

#include "app/Aboutinfo.h"
#include "app/ConnectionMonitor.h"
#include "app/MainLayout.h"
#include "app/OperationHistory.h"
#include "app/Pictures.h"
#include "app/PortStartup.h"
#include "app/Startup.h"
#include "comm/SensorRules.h"
#include "files/gui/Files.h"
#include "firmware/gui/FirmwarePage.h"
#include "history/gui/HistoryWindow.h"
#include "linearization/gui/LinPage.h"
#include "params/ParameterPages.h"
#include "params/editors/ExpertEditors.h"
#include "params/editors/FactorySettings.h"
#include "platform/Clock.h"
#include "report/gui/ReportPrinter.h"
#include "settings/Settings.h"
#include "testmode/gui/SensorTest.h"
#include "ui/Dialogs.h"
#include "ui/HintDisplay.h"
#include "ui/LanguageApplier.h"
#include "ui/MainMessages.h"
#include "ui/MainTexts.h"
#include "ui/PageNames.h"
#include "ui/PairedMessage.h"
#include "ui/Texts.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/PageControl.h"
#include "ui/controls/StatusLamp.h"

namespace {

constexpr int RtsPulseMs = 100;
constexpr int TestLogoSize = 105;

}  // namespace

TMainForm::TMainForm(ProgramServices services, const platform::ComPortMap& ports,
                     SettingsStore& settings, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      ports_(ports),
      SensorLink(services.serial, services.clock, ports_),
      State(services.dialogs),
      services_(services),
      settings_(settings) {
    setObjectName(QStringLiteral("MainForm"));
    buildMainLayout(*this, ui);
    history_ = std::make_unique<OperationHistory>(
        services.recorder, SensorLink,
        [this](const QString& reason) { showHistoryNotice(reason); });
    buildSubsystems();
    applyLayoutTexts(*this);
    new HintDisplay(this);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(PollIntervalMs);
    connect(Timer1, &QTimer::timeout, this, &TMainForm::IdleFunction);
    buildMonitorAndPortChoice();
    watchPorts();
    connectState();
    connectMenus();
    setInitialState();
    setFixedSize(FixedWidth, FixedHeight);
}

TMainForm::~TMainForm() {
    Shutdown();
}

void TMainForm::buildSubsystems() {
    PageControl& pages = *ui.ParameterPage;
    Parameters =
        std::make_unique<params::ParameterPages>(pages, *centralWidget(), State, SensorLink);
    const auto& info = Parameters->ui.SensorInfo;
    placeSensorInformation(ui, *info.SensorInformation, *info.EEPROMUpdateButton);
    Linearization = std::make_unique<linearization::LinPage>(pages, State, SensorLink);
    Linearization->setSensorFields([this] {
        const auto& shown = Parameters->ui;
        const auto& sensor = shown.SensorInfo;
        return linearization::SensorFields{
            sensor.InfoLabel1->text(), shown.Measurement.Resolution->text(),
            sensor.InfoLabel4->text(), sensor.InfoLabel3->text(), sensor.InfoLabel6->text()};
    });
    Report = std::make_unique<report::ReportPrinter>(*this, State, SensorLink, ProgramTitle);
    Linearization->setReportSink(
        [this](const report::ReportRequest& request) { Report->Print(request); });
    Firmware = std::make_unique<firmware::FirmwarePage>(pages, State, SensorLink, services_.clock);
    const auto speedEntered = [this] {
        Parameters->Expert->OnEditUltrasonicSpeed(
            Parameters->ui.ExpertSettings.UltrasonicSpeed->text());
    };
    Files = std::make_unique<files::Files>(State, SensorLink, pages, speedEntered, ProgramTitle);
    SensorTest = std::make_unique<testmode::SensorTest>(
        State, SensorLink, renderPicture(Picture::Logo, QSize(TestLogoSize, TestLogoSize)));
}

void TMainForm::buildMonitorAndPortChoice() {
    monitor_ = std::make_unique<ConnectionMonitor>(ConnectionMonitorParts{
        .link = SensorLink,
        .state = State,
        .ui = ui,
        .timer = *Timer1,
        .dialogs = dialogs(),
        .window = *this,
        .parameters = *Parameters,
        .ports = ports_,
        .showStatus = [this](app::Status code,
                             const QString& argument) { ShowStatus(code, argument); },
        .trace = Trace,
    });
    portChoice_ = std::make_unique<PortChoice>(PortChoiceParts{
        .link = SensorLink,
        .state = State,
        .settings = settings_,
        .dialogs = dialogs(),
        .window = *this,
        .serial = services_.serial,
        .probe = services_.probe,
        .describe = services_.describe,
        .clock = services_.clock,
        .ports = ports_,
        .openLink = [this](uint8_t port) { OpenSensorLink(port); },
    });
}

// The monitor's socket is read when it has something, so nothing polls for devices.
void TMainForm::watchPorts() {
    platform::PortMonitor* monitor = services_.portMonitor;
    if (monitor == nullptr || !monitor->valid())
        return;
    auto* notifier = new QSocketNotifier(monitor->fd(), QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this, monitor] {
        if (const auto event = monitor->receive())
            PortEvent(*event);
    });
}

void TMainForm::PortEvent(const platform::PortEvent& event) {
    monitor_->DeviceEvent(event);
    portChoice_->PortsChanged();
}

StartupParts TMainForm::StartupWiring() {
    return {
        .window = *this,
        .pages = *ui.ParameterPage,
        .state = State,
        .settings = settings_,
        .dialogs = dialogs(),
        .clock = services_.clock,
        .trace = Trace,
        .applyLanguage = [this] { ApplyLanguage(); },
        .setAccessLevel = [this](TAccessLevel level) { SetAccessLevel(level); },
        .openPort = [this] { return OpenStartupPort(); },
    };
}

void TMainForm::connectState() {
    State.Connect({
        .showParametersChanged =
            [this](bool changed) { Parameters->ShowParametersChanged(changed); },
        .refreshView = [this] { RefreshParameterView(); },
        .applyLanguage = [this] { ApplyLanguage(); },
        .stopPolling = [this] { Timer1->stop(); },
        .startPolling = [this] { Timer1->start(); },
        .pollAtConnectedPace =
            [this] { Timer1->setInterval(ConnectionMonitor::ConnectedIntervalMs); },
        .showNotConnected =
            [this] {
                ui.StatusLED->setColour(StatusLamp::Red);
                ShowStatus(app::Status::NotConnected, QString::number(State.PortNumber));
            },
        .record = [this](const SensorOperation& operation) { history_->Record(operation); },
    });
}

void TMainForm::connectMenus() {
    connect(ui.SelComPort, &QPushButton::clicked, this, &TMainForm::SelComPortClick);
    connect(ui.FileSaveAsItem, &QAction::triggered, this, &TMainForm::FileSaveAsItemClick);
    connect(ui.FileOpenItem, &QAction::triggered, this, &TMainForm::FileOpenItemClick);
    connect(ui.Print, &QAction::triggered, this, &TMainForm::PrintClick);
    connect(ui.FileHistoryItem, &QAction::triggered, this, &TMainForm::HistoryClick);
    connect(ui.FileExitItem, &QAction::triggered, this, &TMainForm::FileExitItemClick);
    connect(ui.HelpAboutItem, &QAction::triggered, this, &TMainForm::HelpAboutItemClick);
    connect(ui.TestSensor, &QAction::triggered, this, &TMainForm::TestSensorClick);
    connect(ui.RestoreFactorySettings1, &QAction::triggered, this,
            &TMainForm::RestoreFactorySettings1Click);
    connect(ui.FirmwareUpdate, &QAction::triggered, this, &TMainForm::FirmwareUpdateClick);
    connect(ui.English1, &QAction::triggered, this, [this] { SwitchLanguage(kUiEnglish); });
    connect(ui.Deutsch1, &QAction::triggered, this, [this] { SwitchLanguage(kUiGerman); });
}

void TMainForm::setInitialState() {
    setWindowTitle(QStringLiteral("KYR ") + ProgramTitle);
    Parameters->ShowParametersChanged(false);
    ui.ParameterPage->setEnabled(false);
    ui.RestoreFactorySettings1->setEnabled(false);
    ui.FileOpenItem->setEnabled(false);
    ui.FileSaveAsItem->setEnabled(false);
    ui.FileHistoryItem->setEnabled(false);
    ui.FileHistoryItem->setVisible(services_.historyStore != nullptr);
    ui.Print->setVisible(true);
    ui.Print->setEnabled(true);
    ui.FirmwareUpdateSeparator->setVisible(false);
    ui.FirmwareUpdate->setVisible(false);
    ui.HelpContentsItem->setVisible(false);
    ui.StatusLED->setColour(StatusLamp::Red);
}

void TMainForm::ApplyLanguage() {
    applyMainTexts(*this, State);
    toolkitTexts_.Use(State.UiLanguage);
}

void TMainForm::SwitchLanguage(uint8_t language) {
    State.UiLanguage = language;
    ApplyLanguage();
    // The window is repainted and the sensor found anew even when the settings cannot be written.
    const auto redetect = qScopeGuard([this] { redetectSensor(); });
    storeLanguage();
}

void TMainForm::storeLanguage() {
    settings().writeInteger(SettingsStore::Language, State.UiLanguage);
}

void TMainForm::redetectSensor() {
    hide();
    show();
    State.SensorOnline = false;
    ui.ParameterPage->setEnabled(false);
    State.MissedPolls = 0;
}

// Each subsystem shows the controls that the level allows; the layout hides them all.
void TMainForm::SetAccessLevel(TAccessLevel level) {
    State.AccessLevel = level;
    const bool factory = level != TAccessLevel::User;
    for (const char* page :
         {pagenames::ExpertSettings, pagenames::ExpertSettings2, pagenames::Firmware}) {
        ui.ParameterPage->setPageTabVisible(QString::fromLatin1(page), factory);
    }
    Parameters->ApplyAccessLevel(level);
    Linearization->ApplyAccessLevel(level);
}

void TMainForm::OpenSensorLink(uint8_t port) {
    State.PortNumber = port;
    SensorLink.OpenDefault(port);
    linkOpened_ = true;
}

void TMainForm::RefreshParameterView() {
    Parameters->Refresh();
    Linearization->Refresh();
    Firmware->Refresh();
    applySensorTexts(*this, State);
}

void TMainForm::RestoreFactorySettings1Click() {
    Parameters->Factory->RestoreFactorySettings1Click();
}

void TMainForm::TestSensorClick() {
    SensorTest->TestSensorClick();
}

void TMainForm::HelpAboutItemClick() {
    TAboutForm about(this);
    about.ShowBuild();
    dialogs().execDialog(about);
}

void TMainForm::FileSaveAsItemClick() {
    Files->FileSaveAs();
}

void TMainForm::FileOpenItemClick() {
    Files->FileOpen();
}

void TMainForm::PrintClick() {
    Report->PrintClick();
}

void TMainForm::FirmwareUpdateClick() {
    Firmware->FirmwareUpdateClick();
}

// The poll rests while the window is open: the window shows one sensor.
void TMainForm::HistoryClick() {
    if (services_.historyStore == nullptr || !State.SensorOnline)
        return;
    const auto pause = State.PausePolling();
    history::HistoryWindow window(
        {*services_.historyStore, SensorLink, State,
         [this](const files::ParameterFile& file, const std::string& subject) {
             Files->LoadSet(file, subject);
         }},
        this);
    dialogs().execDialog(window);
}

void TMainForm::FileExitItemClick() {
    close();
}

void TMainForm::Shutdown() {
    Timer1->stop();
    if (!linkOpened_)
        return;
    linkOpened_ = false;
    SensorLink.SetRts();
    services_.clock.sleep(RtsPulseMs);
    SensorLink.ClearRts();
    SensorLink.Close();
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (pollingStarted_)
        return;
    pollingStarted_ = true;
    Timer1->start();
}

void TMainForm::IdleFunction() {
    monitor_->Tick();
}

// Once the history has caught up, the status line shows the connection again.
void TMainForm::showHistoryNotice(const QString& reason) {
    if (reason.isEmpty())
        ShowStatus(app::Status::Established, QString::number(SensorLink.PortNumber()));
    else
        ShowStatus(app::Status::HistoryMissed, reason);
}

void TMainForm::ShowStatus(app::Status code, const QString& argument) {
    const app::StatusShown now{ui.StatusText->text(), ui.StatusLED->colour()};
    const auto next = app::NextStatus(code, argument, State.UiLanguage, now);
    ui.StatusLED->setColour(next.lamp);
    if (next.text == now.text)
        return;
    ui.StatusText->setText(next.text);
    ui.StatusText->repaint();
    if (Trace && code != app::Status::Demo)
        Trace("status: " + next.text);
}

// Takes the sensor out of test mode and offers to keep what was changed. A
// program that never opened its port leaves every port alone.
void TMainForm::FormClose() {
    if (!SensorLinkOpened())
        return;
    SensorLink.WriteRegister(TSSICom::Measurement);
    if (!rules::CommitsWithCN(SensorLink.FirmwareVersionNumber())) {
        commitOnClose();
        return;
    }
    const MessageResult answer =
        State.ParametersChanged
            ? ShowPairedMessage(dialogs(), State.UiLanguage,
                                mainmessages::message(mainmessages::Id::CommitQuestion),
                                MessageButtons::YesNo, MessageIcon::Question)
            : MessageResult::Yes;
    if (answer != MessageResult::Yes)
        return;
    commitOnClose();
}

// The history hears of the commit only when a sensor answers; otherwise it reached none.
void TMainForm::commitOnClose() {
    const bool committed = SensorLink.Commit();
    State.ClearParametersChanged();
    if (State.SensorOnline)
        State.RecordOutcome(history::Operation::Commit, committed, messages::communicationError());
}

void TMainForm::closeEvent(QCloseEvent* event) {
    FormClose();
    QMainWindow::closeEvent(event);
}

bool TMainForm::OpenStartupPort() {
    return portChoice_->Startup();
}

void TMainForm::SelComPortClick() {
    portChoice_->Choose();
}
