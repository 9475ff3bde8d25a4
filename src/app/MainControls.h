#pragma once

class PageControl;
class QAction;
class QLabel;
class QMenu;
class QGroupBox;
class QPushButton;
class QStatusBar;
class QVBoxLayout;
class StatusLamp;

// The main window's own controls, named as their objectName: the menus, the logo,
// the page control and the status box. The subsystems own the pages' controls.
struct MainControls {
    // Menus
    QMenu* FileMenu = nullptr;
    QAction* FileOpenItem = nullptr;
    QAction* FileSaveAsItem = nullptr;
    QAction* Print = nullptr;
    QAction* FileHistoryItem = nullptr;
    QAction* FirmwareUpdateSeparator = nullptr;
    QAction* FirmwareUpdate = nullptr;
    QAction* RestoreFactorySettings1 = nullptr;
    QAction* FileExitItem = nullptr;
    QAction* TestSensor = nullptr;
    QMenu* Language1 = nullptr;
    QAction* English1 = nullptr;
    QAction* Deutsch1 = nullptr;
    QMenu* HelpMenu = nullptr;
    QAction* HelpContentsItem = nullptr;
    QAction* HelpAboutItem = nullptr;

    // Left column; the sensor information box below the logo belongs to the parameter pages.
    QLabel* Logo = nullptr;
    QVBoxLayout* LeftColumn = nullptr;

    // Right column
    PageControl* ParameterPage = nullptr;
    QGroupBox* StatusBox = nullptr;
    StatusLamp* StatusLED = nullptr;
    QLabel* StatusText = nullptr;
    QPushButton* SelComPort = nullptr;
    QStatusBar* StatusLine = nullptr;
};
