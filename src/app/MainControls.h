#pragma once

class CheckBox;
class LabeledEdit;
class PageControl;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QWidget;
class RadioGroup;
class StatusLamp;

// Every control of the main window, named as its objectName. The window owns them.
struct MainControls {
    // Menus
    QMenu* FileMenu = nullptr;
    QAction* FileOpenItem = nullptr;
    QAction* FileSaveAsItem = nullptr;
    QAction* Print = nullptr;
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

    // Left column
    QLabel* Logo = nullptr;
    QGroupBox* SensorInformation = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* InfoLabel1 = nullptr;
    QLabel* InfoLabel2 = nullptr;
    QLabel* InfoLabel3 = nullptr;
    QLabel* InfoLabel4 = nullptr;
    QLabel* InfoLabel5 = nullptr;
    QLabel* InfoLabel6 = nullptr;
    QPushButton* EEPROMUpdateButton = nullptr;

    // Right column
    PageControl* ParameterPage = nullptr;
    QGroupBox* StatusBox = nullptr;
    StatusLamp* StatusLED = nullptr;
    QLabel* StatusText = nullptr;
    QPushButton* SelComPort = nullptr;
    QStatusBar* StatusLine = nullptr;

    // SSISettings
    QWidget* SSISettings = nullptr;
    RadioGroup* CodingGroup = nullptr;
    LabeledEdit* BitWidth = nullptr;
    RadioGroup* Mode = nullptr;
    LabeledEdit* SSI_Abstand = nullptr;
    LabeledEdit* UARTWrites = nullptr;
    LabeledEdit* JitterWindow = nullptr;
    CheckBox* SSI_Start_CheckBox = nullptr;
    QCheckBox* ControlSettings = nullptr;

    // ErrorIndication
    QWidget* ErrorIndication = nullptr;
    LabeledEdit* ErrorValue = nullptr;
    LabeledEdit* ErrorCount = nullptr;
    LabeledEdit* PowerFail = nullptr;
    CheckBox* ErrorValue2 = nullptr;
    QLabel* Label7 = nullptr;
    LabeledEdit* OpTimeYears = nullptr;
    LabeledEdit* OpTimeMonth = nullptr;
    LabeledEdit* OpTimeDays = nullptr;
    LabeledEdit* OpTimeHours = nullptr;
    LabeledEdit* OpTimeMinutes = nullptr;

    // Measurement
    QWidget* Measurement = nullptr;
    RadioGroup* FilterS = nullptr;
    RadioGroup* Direction = nullptr;
    RadioGroup* PosDifVel = nullptr;
    LabeledEdit* Resolution = nullptr;
    LabeledEdit* Offset = nullptr;
    QLabel* OriginLabel = nullptr;
    QPushButton* OriginButton = nullptr;
    CheckBox* SlowAvarageFilter = nullptr;
    QPushButton* _05um = nullptr;

    // Measurement2
    QWidget* Measurement2 = nullptr;
    CheckBox* Siemens = nullptr;
    CheckBox* Temperature = nullptr;
    CheckBox* Linearisierung = nullptr;
    CheckBox* Extrapolation = nullptr;
    CheckBox* ExtrapolForward = nullptr;
    CheckBox* TempComp = nullptr;
    LabeledEdit* StartPoint = nullptr;
    LabeledEdit* EndPoint = nullptr;
    QPushButton* SetStartPoint = nullptr;
    QPushButton* DelStartPoint = nullptr;
    QPushButton* SetEndPoint = nullptr;
    QPushButton* DelEndPoint = nullptr;

    // LinPage
    QWidget* LinPage = nullptr;
    LabeledEdit* LinStartValue = nullptr;
    LabeledEdit* AdresLabel = nullptr;
    LabeledEdit* ValueLabel = nullptr;
    LabeledEdit* FactorLabel = nullptr;
    QPushButton* ReadLinValue = nullptr;
    QPushButton* WriteLinValue = nullptr;
    QPushButton* WriteLinFile = nullptr;
    QPushButton* PrintLinFile = nullptr;
    QProgressBar* CGauge1 = nullptr;

    // Firmware
    QWidget* Firmware = nullptr;
    QPushButton* LoadFile = nullptr;
    QPushButton* UpdateFW = nullptr;
    QListWidget* InfoBox = nullptr;
    QListWidget* Download = nullptr;
    QProgressBar* DownloadFirmware = nullptr;

    // ExpertSettings
    QWidget* ExpertSettings = nullptr;
    LabeledEdit* FactoryNumber = nullptr;
    LabeledEdit* Length = nullptr;
    LabeledEdit* UltrasonicSpeed = nullptr;
    LabeledEdit* Scale = nullptr;
    LabeledEdit* CycleTime = nullptr;
    LabeledEdit* SyncTiming = nullptr;
    LabeledEdit* MonoflopTime = nullptr;
    LabeledEdit* Blanking = nullptr;
    RadioGroup* ChargepumpStages = nullptr;
    RadioGroup* Model = nullptr;
    QPushButton* Q_SERIE = nullptr;

    // ExpertSettings2
    QWidget* ExpertSettings2 = nullptr;
    QPushButton* ReadFactoryButton = nullptr;
    QPushButton* WriteFactoryButton = nullptr;
};
