#pragma once

#include "ui/AccessLevel.h"

class CheckBox;
class LabeledEdit;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;
class RadioGroup;

// The controls of the parameter pages and the sensor information box, named as
// their objectName. The widgets are owned by their pages.
namespace params {

struct SSISettingsControls {
    static constexpr int SynchronousItem = 1;

    RadioGroup* CodingGroup = nullptr;
    LabeledEdit* BitWidth = nullptr;
    RadioGroup* Mode = nullptr;  // item 0 asynchronous, item 1 synchronous
    LabeledEdit* SSI_Abstand = nullptr;
    LabeledEdit* UARTWrites = nullptr;
    LabeledEdit* JitterWindow = nullptr;
    CheckBox* SSI_Start_CheckBox = nullptr;

    void build(QWidget& page);
    void applyAccessLevel(TAccessLevel level);
};

struct ErrorIndicationControls {
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

    void build(QWidget& page);
    void applyAccessLevel(TAccessLevel level);
};

struct MeasurementControls {
    RadioGroup* FilterS = nullptr;
    RadioGroup* Direction = nullptr;
    RadioGroup* PosDifVel = nullptr;
    LabeledEdit* Resolution = nullptr;
    LabeledEdit* Offset = nullptr;
    QLabel* OriginLabel = nullptr;
    QPushButton* OriginButton = nullptr;
    CheckBox* SlowAvarageFilter = nullptr;
    QPushButton* _05um = nullptr;

    void build(QWidget& page);
    void applyAccessLevel(TAccessLevel level);
};

struct Measurement2Controls {
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

    void build(QWidget& page);
    void applyAccessLevel(TAccessLevel level);
};

struct ExpertSettingsControls {
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

    void build(QWidget& page);
    void applyAccessLevel(TAccessLevel level);
    // The model choice shows KH or KP: the K family's restrictions apply.
    bool KModelChosen() const;
};

struct ExpertSettings2Controls {
    QPushButton* ReadFactoryButton = nullptr;
    QPushButton* WriteFactoryButton = nullptr;

    void build(QWidget& page);
};

// The box beside the pages that names the sensor, and the EEPROM update button below it.
struct SensorInformationControls {
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

    void build(QWidget& parent);
};

struct PageControls {
    SSISettingsControls SSISettings;
    ErrorIndicationControls ErrorIndication;
    MeasurementControls Measurement;
    Measurement2Controls Measurement2;
    ExpertSettingsControls ExpertSettings;
    ExpertSettings2Controls ExpertSettings2;
    SensorInformationControls SensorInfo;
};

}  // namespace params
