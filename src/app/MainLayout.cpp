#include "app/MainLayout.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/LanguageApplier.h"
#include "app/MainControls.h"
#include "app/Pictures.h"
#include "app/controls/PageControl.h"
#include "app/controls/StatusLamp.h"
#include "app/pages/Pages.h"

namespace {

constexpr int LogoWidth = 210;
constexpr int LogoHeight = 96;

QLabel* makeLabel(const QString& name, QWidget& parent) {
    auto* label = new QLabel(&parent);
    label->setObjectName(name);
    return label;
}

void addInfoRow(QGridLayout& grid, int row, QLabel* caption, QLabel* value) {
    grid.addWidget(caption, row, 0);
    grid.addWidget(value, row, 1);
}

// Rows in reading order; the captions' names do not follow the values' names
// for the factory number and the ultrasonic speed.
QGroupBox* buildSensorInformation(QWidget& parent, MainControls& ui) {
    auto* box = new QGroupBox(&parent);
    box->setObjectName(QStringLiteral("SensorInformation"));
    QLabel** captions[] = {&ui.Label1, &ui.Label2, &ui.Label3, &ui.Label4, &ui.Label5, &ui.Label6};
    QLabel** values[] = {&ui.InfoLabel1, &ui.InfoLabel2, &ui.InfoLabel3,
                         &ui.InfoLabel4, &ui.InfoLabel5, &ui.InfoLabel6};
    for (int i = 0; i < 6; ++i) {
        *captions[i] = makeLabel(QStringLiteral("Label%1").arg(i + 1), *box);
        *values[i] = makeLabel(QStringLiteral("InfoLabel%1").arg(i + 1), *box);
    }
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(3);
    addInfoRow(*grid, 0, ui.Label1, ui.InfoLabel1);
    addInfoRow(*grid, 1, ui.Label2, ui.InfoLabel2);
    addInfoRow(*grid, 2, ui.Label4, ui.InfoLabel3);
    addInfoRow(*grid, 3, ui.Label3, ui.InfoLabel4);
    addInfoRow(*grid, 4, ui.Label5, ui.InfoLabel5);
    addInfoRow(*grid, 5, ui.Label6, ui.InfoLabel6);
    grid->setColumnStretch(1, 1);
    return box;
}

QVBoxLayout* buildLeftColumn(QWidget& parent, MainControls& ui) {
    ui.Logo = makeLabel(QStringLiteral("Logo"), parent);
    ui.Logo->setPixmap(renderPicture(Picture::Logo, QSize(LogoWidth, LogoHeight)));
    ui.Logo->setAlignment(Qt::AlignCenter);
    ui.EEPROMUpdateButton = new QPushButton(QStringLiteral("Update Sensor!!!"), &parent);
    ui.EEPROMUpdateButton->setObjectName(QStringLiteral("EEPROMUpdateButton"));
    ui.EEPROMUpdateButton->setMinimumHeight(34);

    auto* column = new QVBoxLayout;
    column->addWidget(ui.Logo);
    column->addWidget(buildSensorInformation(parent, ui));
    column->addStretch();
    column->addWidget(ui.EEPROMUpdateButton);
    return column;
}

void addPages(PageControl& pages, MainControls& ui) {
    using Builder = void (*)(QWidget&, MainControls&);
    const std::pair<const char*, Builder> builders[] = {
        {"SSISettings", buildSSISettingsPage},
        {"ErrorIndication", buildErrorIndicationPage},
        {"Measurement", buildMeasurementPage},
        {"Measurement2", buildMeasurement2Page},
        {"LinPage", buildLinPage},
        {"Firmware", buildFirmwarePage},
        {"ExpertSettings", buildExpertSettingsPage},
        {"ExpertSettings2", buildExpertSettings2Page}};
    for (const auto& [name, build] : builders)
        build(*pages.addPage(QString::fromLatin1(name)), ui);
    ui.SSISettings = pages.page(QStringLiteral("SSISettings"));
    ui.ErrorIndication = pages.page(QStringLiteral("ErrorIndication"));
    ui.Measurement = pages.page(QStringLiteral("Measurement"));
    ui.Measurement2 = pages.page(QStringLiteral("Measurement2"));
    ui.LinPage = pages.page(QStringLiteral("LinPage"));
    ui.Firmware = pages.page(QStringLiteral("Firmware"));
    ui.ExpertSettings = pages.page(QStringLiteral("ExpertSettings"));
    ui.ExpertSettings2 = pages.page(QStringLiteral("ExpertSettings2"));
}

QGroupBox* buildStatusBox(QWidget& parent, MainControls& ui) {
    auto* box = new QGroupBox(&parent);
    box->setObjectName(QStringLiteral("StatusBox"));
    ui.StatusLED = new StatusLamp(QStringLiteral("StatusLED"), box);
    ui.StatusText = makeLabel(QStringLiteral("StatusText"), *box);
    ui.StatusText->setText(QStringLiteral("Trying to detect SSI-Sensor"));
    ui.SelComPort = new QPushButton(box);
    ui.SelComPort->setObjectName(QStringLiteral("SelComPort"));
    auto* row = new QHBoxLayout(box);
    row->addWidget(ui.StatusLED);
    row->addWidget(ui.StatusText, 1);
    row->addWidget(ui.SelComPort);
    return box;
}

QVBoxLayout* buildRightColumn(QWidget& parent, MainControls& ui) {
    ui.ParameterPage = new PageControl(QStringLiteral("ParameterPage"), &parent);
    addPages(*ui.ParameterPage, ui);
    ui.StatusBox = buildStatusBox(parent, ui);
    auto* column = new QVBoxLayout;
    column->addWidget(ui.ParameterPage, 1);
    column->addWidget(ui.StatusBox);
    return column;
}

QAction* addItem(QMenu& menu, const char* name) {
    QAction* action = menu.addAction(QString());
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QMenu* addMenu(QMenuBar& bar, const char* name) {
    QMenu* menu = bar.addMenu(QString());
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name) + QStringLiteral("Entry"));
    return menu;
}

void buildFileMenu(QMenuBar& bar, MainControls& ui) {
    ui.FileMenu = addMenu(bar, "FileMenu");
    ui.FileOpenItem = addItem(*ui.FileMenu, "FileOpenItem");
    ui.FileSaveAsItem = addItem(*ui.FileMenu, "FileSaveAsItem");
    ui.Print = addItem(*ui.FileMenu, "Print");
    ui.FirmwareUpdateSeparator = ui.FileMenu->addSeparator();
    ui.FirmwareUpdateSeparator->setObjectName(QStringLiteral("FirmwareUpdateSeparator"));
    ui.FirmwareUpdate = addItem(*ui.FileMenu, "FirmwareUpdate");
    ui.FileMenu->addSeparator();
    ui.RestoreFactorySettings1 = addItem(*ui.FileMenu, "RestoreFactorySettings1");
    ui.FileMenu->addSeparator();
    ui.FileExitItem = addItem(*ui.FileMenu, "FileExitItem");
}

void buildMenus(QMenuBar& bar, MainControls& ui) {
    buildFileMenu(bar, ui);
    ui.TestSensor = bar.addAction(QString());
    ui.TestSensor->setObjectName(QStringLiteral("TestSensor"));
    ui.Language1 = addMenu(bar, "Language1");
    ui.English1 = addItem(*ui.Language1, "English1");
    ui.Deutsch1 = addItem(*ui.Language1, "Deutsch1");
    ui.English1->setCheckable(true);
    ui.Deutsch1->setCheckable(true);
    ui.HelpMenu = addMenu(bar, "HelpMenu");
    ui.HelpContentsItem = addItem(*ui.HelpMenu, "HelpContentsItem");
    ui.HelpMenu->addSeparator();
    ui.HelpAboutItem = addItem(*ui.HelpMenu, "HelpAboutItem");
}

}  // namespace

void buildMainLayout(QMainWindow& window, MainControls& ui) {
    buildMenus(*window.menuBar(), ui);
    auto* central = new QWidget(&window);
    central->setObjectName(QStringLiteral("MainArea"));
    auto* layout = new QHBoxLayout(central);
    layout->addLayout(buildLeftColumn(*central, ui));
    layout->addLayout(buildRightColumn(*central, ui), 1);
    window.setCentralWidget(central);
    ui.StatusLine = window.statusBar();
    ui.StatusLine->setObjectName(QStringLiteral("StatusLine"));
    ui.StatusLine->setSizeGripEnabled(false);
    applyLayoutTexts(window);
}
