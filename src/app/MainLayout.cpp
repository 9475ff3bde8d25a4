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

#include "app/MainControls.h"
#include "app/Pictures.h"
#include "ui/PageNames.h"
#include "ui/controls/PageControl.h"
#include "ui/controls/StatusLamp.h"

namespace {

constexpr int LogoWidth = 210;
constexpr int LogoHeight = 96;

QLabel* makeLabel(const QString& name, QWidget& parent) {
    auto* label = new QLabel(&parent);
    label->setObjectName(name);
    return label;
}

QVBoxLayout* buildLeftColumn(QWidget& parent, MainControls& ui) {
    ui.Logo = makeLabel(QStringLiteral("Logo"), parent);
    ui.Logo->setPixmap(renderPicture(Picture::Logo, QSize(LogoWidth, LogoHeight)));
    ui.Logo->setAlignment(Qt::AlignCenter);
    ui.LeftColumn = new QVBoxLayout;
    ui.LeftColumn->addWidget(ui.Logo);
    ui.LeftColumn->addStretch();
    return ui.LeftColumn;
}

// Empty pages in the order of their tabs; their subsystems fill them.
void addPages(PageControl& pages) {
    for (const char* name : pagenames::InTabOrder)
        pages.addPage(QString::fromLatin1(name));
}

QGroupBox* buildStatusBox(QWidget& parent, MainControls& ui) {
    auto* box = new QGroupBox(&parent);
    box->setObjectName(QStringLiteral("StatusBox"));
    ui.StatusLED = new StatusLamp(QStringLiteral("StatusLED"), box);
    ui.StatusText = makeLabel(QStringLiteral("StatusText"), *box);
    ui.StatusText->setText(QStringLiteral("Trying to detect SSI-Sensor"));
    // A long notice (the history's, with a database's path) takes a second line.
    ui.StatusText->setWordWrap(true);
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
    addPages(*ui.ParameterPage);
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
    ui.FileHistoryItem = addItem(*ui.FileMenu, "FileHistoryItem");
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
}

void placeSensorInformation(MainControls& ui, QWidget& box, QWidget& updateButton) {
    constexpr int BelowLogo = 1;
    ui.LeftColumn->insertWidget(BelowLogo, &box);
    ui.LeftColumn->addWidget(&updateButton);
}
