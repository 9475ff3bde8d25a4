#include "app/Main.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>

#include "app/Aboutinfo.h"
#include "app/Dialogs.h"
#include "app/HintDisplay.h"
#include "app/LanguageApplier.h"
#include "app/MainLayout.h"
#include "settings/Settings.h"
#include "app/controls/PageControl.h"
#include "app/controls/StatusLamp.h"
#include "platform/Clock.h"

namespace {

constexpr int RtsPulseMs = 100;

}  // namespace

TMainForm::TMainForm(MainFormServices services, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      services_(services) {
    setObjectName(QStringLiteral("MainForm"));
    buildMainLayout(*this, ui);
    new HintDisplay(this);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(PollIntervalMs);
    connect(Timer1, &QTimer::timeout, this, &TMainForm::IdleFunction);
    connectMenus();
    setInitialState();
    setFixedSize(FixedWidth, FixedHeight);
}

TMainForm::~TMainForm() {
    Shutdown();
}

void TMainForm::connectMenus() {
    connect(ui.SelComPort, &QPushButton::clicked, this, &TMainForm::SelComPortClick);
    connect(ui.FileExitItem, &QAction::triggered, this, &TMainForm::FileExitItemClick);
    connect(ui.HelpAboutItem, &QAction::triggered, this, &TMainForm::HelpAboutItemClick);
    connect(ui.English1, &QAction::triggered, this, [this] { SwitchLanguage(0); });
    connect(ui.Deutsch1, &QAction::triggered, this, [this] { SwitchLanguage(1); });
}

void TMainForm::setInitialState() {
    setWindowTitle(QStringLiteral("KYR ") + ProgramTitle);
    ui.EEPROMUpdateButton->setEnabled(false);
    ui.ParameterPage->setEnabled(false);
    ui.RestoreFactorySettings1->setEnabled(false);
    ui.FileOpenItem->setEnabled(false);
    ui.FileSaveAsItem->setEnabled(false);
    ui.Print->setVisible(true);
    ui.Print->setEnabled(true);
    ui.FirmwareUpdateSeparator->setVisible(false);
    ui.FirmwareUpdate->setVisible(false);
    ui.HelpContentsItem->setVisible(false);
    ui.StatusLED->setColour(StatusLamp::Red);
}

void TMainForm::MarkParametersChanged() {
    ParametersChanged = true;
    ui.EEPROMUpdateButton->setEnabled(true);
}

void TMainForm::ClearParametersChanged() {
    ParametersChanged = false;
    ui.EEPROMUpdateButton->setEnabled(false);
}

void TMainForm::ApplyLanguage() {
    applyMainTexts(*this, UiLanguage, SensorTypeText);
}

void TMainForm::SwitchLanguage(uint8_t language) {
    UiLanguage = language;
    ApplyLanguage();
    // The window is repainted and the sensor found anew even when the settings cannot be written.
    const auto redetect = qScopeGuard([this] { redetectSensor(); });
    storeLanguage();
}

void TMainForm::storeLanguage() {
    SettingsStore& store = settings();
    store.open();
    const auto closeStore = qScopeGuard([&store] { store.close(); });
    store.writeInteger(SettingsStore::Language, UiLanguage);
}

void TMainForm::redetectSensor() {
    hide();
    show();
    SensorOnline = false;
    ui.ParameterPage->setEnabled(false);
    MissedPolls = 0;
}

void TMainForm::SetAccessLevel(TAccessLevel level) {
    AccessLevel = level;
    applyAccessLevel(ui, level);
}

void TMainForm::OpenSensorLink(uint8_t port) {
    if (!SensorLink)
        SensorLink = std::make_unique<TSSICom>(services_.serial, services_.clock, services_.ports);
    PortNumber = port;
    SensorLink->OpenDefault(port);
}

void TMainForm::HelpAboutItemClick() {
    TAboutForm about(this);
    about.ShowBuild();
    dialogs().execDialog(about);
}

void TMainForm::FileExitItemClick() {
    close();
}

void TMainForm::Shutdown() {
    Timer1->stop();
    if (!SensorLink)
        return;
    SensorLink->SetRts();
    services_.clock.sleep(RtsPulseMs);
    SensorLink->ClearRts();
    SensorLink.reset();
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (pollingStarted_)
        return;
    pollingStarted_ = true;
    Timer1->start();
}
