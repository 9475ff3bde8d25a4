#include "ui/MainTexts.h"

#include "comm/ViewRules.h"

namespace maintexts {
namespace {

constexpr Entry kCatalogue[] = {
    {"FileMenu", Element::Caption, "&File", "D&atei"},
    {"FileOpenItem", Element::Caption, "Open...", "Öffnen..."},
    {"FileSaveAsItem", Element::Caption, "Save as...", "Speichern unter..."},
    {"Print", Element::Caption, "&Print...", "&Drucken..."},
    {"FileHistoryItem", Element::Caption, "History", "Historie"},
    {"RestoreFactorySettings1", Element::Caption, "Restore Factory Settings",
     "Werkseinstellung wiederherstellen"},
    {"FileExitItem", Element::Caption, "&Quit", "&Beenden"},
    {"TestSensor", Element::Caption, "Test Sensor", "Test Sensor"},
    {"Language1", Element::Caption, "Language", "Sprache"},
    {"HelpMenu", Element::Caption, "Help", "Hilfe"},
    {"HelpContentsItem", Element::Caption, "Content", "Inhalt"},
    {"HelpAboutItem", Element::Caption, "Info...", "Info..."},
    {"SensorInformation", Element::Caption, "Sensor Information", "Sensor Information"},
    {"Label1", Element::Caption, "Sensor Type:", "Sensor Typ:"},
    {"Label2", Element::Caption, "Length:", "Länge: "},
    {"Label3", Element::Caption, "Ultrasonic Speed:", "Ultraschalllaufzeit: "},
    {"Label4", Element::Caption, "Factory Number:", "Fertigungsnummer: "},
    {"StatusBox", Element::Caption, "Communication Status", "Kommunikationsstatus"},
    {"EEPROMUpdateButton", Element::Caption, "EEPROM Update", "EEPROM Update"},
    {"SSISettings", Element::Caption, "SSI Settings", "SSI Einstellungen"},
    {"ErrorIndication", Element::Caption, "Error Indication", "Fehleranzeige"},
    {"Measurement", Element::Caption, "Measurement", "Messung"},
    {"Measurement2", Element::Caption, "Measurement 2", "Messung 2"},
    {"LinPage", Element::Caption, "Linearization", "Linearisierung"},
    {"Firmware", Element::Caption, "Software", "Software"},
    {"ExpertSettings", Element::Caption, "Expert Settings", "Experten Einstellungen"},
    {"ExpertSettings2", Element::Caption, "Expert Settings 2", "Experten Einstellungen 2"},
    {"CodingGroup", Element::Caption, "SSI-Coding", "SSI-Codierung"},
    {"CodingGroup", Element::Items, "binary\ngray", "binär\ngray"},
    {"BitWidth", Element::Label, "SSI transmission bit width: ", "SSI Bitbreite: "},
    {"Mode", Element::Caption, "Start of Measurement", "Start der Messung"},
    {"Mode", Element::Items, "SSI clock asynchron\nSSI clock synchron",
     "SSI Takt asynchron\nSSI Takt synchron"},
    {"SSI_Abstand", Element::Label, "SSI sample rate (µs):", "SSI Abfragezyklus (in µs):"},
    {"UARTWrites", Element::Label, "UART Result Counter:", "UART Ergebniszähler:"},
    {"JitterWindow", Element::Label, "Jitter Window [µs]:", "Jitter Fenster [µs]: "},
    {"SSI_Start_CheckBox", Element::Caption, "sync. start", "SSI Messstart"},
    {"ErrorValue", Element::Label, "Error Value: ", "Fehlerwert: "},
    {"ErrorCount", Element::Label, "Error Counter (1-255): ", "Fehlerzähler (1-255): "},
    {"PowerFail", Element::Label, "Power failuire (in ms): ", "Powerfail (in ms): "},
    {"ErrorValue2", Element::Caption, "activate second error value (-1)",
     "Aktiviere zweiten Fehlerwert (-1)"},
    {"OriginLabel", Element::Caption, "Set new origin: ", "Neuen Nullpunkt setzen: "},
    {"FilterS", Element::Caption, "Filter", "Filter"},
    {"FilterS", Element::Items, "no Filter\nGrade 2\nGrade 4\nGrade 8",
     "kein Filter\nGrad 2\nGrad 4\nGrad 8"},
    {"Direction", Element::Caption, "Direction", "Richtung"},
    {"Direction", Element::Items, "forward\nreverse", "vorwärts\ninvers"},
    {"PosDifVel", Element::Caption, "Measuring", "Art der Messung"},
    {"PosDifVel", Element::Items, "Position\nDifferential\nVelocity",
     "Position\nDifferenz\nGeschwindigkeit"},
    {"Resolution", Element::Label, "Resolution (in µm): ", "Auflösung (in µm): "},
    {"Offset", Element::Label, "Offset (in µm): ", "Offset (in µm): "},
    {"OriginButton", Element::Caption, "Set", "Setze"},
    {"Siemens", Element::Caption, "Parity && Error Bit", "Paritäts- && Fehlerbit"},
    {"Temperature", Element::Caption, "Measure Temperature (Bit 24-31)",
     "Temperaturmessung (Bit 24-31)"},
    {"TempComp", Element::Caption, "temperature compenzation", "Temperaturkompensation"},
    {"StartPoint", Element::Label, " measurement start point", "   Messbereichsanfang"},
    {"EndPoint", Element::Label, "   measuring end point", "     Messbereichsende"},
    {"LinStartValue", Element::Label, "Start value (µm): ", "Startwert (in µm): "},
    {"AdresLabel", Element::Label, "EEPROM Lin.-address: ", "EEPROM Lin.-Adresse: "},
    {"ValueLabel", Element::Label, "EEPROM Lin.-value: ", "EEPROM Lin.-Wert: "},
    {"FactorLabel", Element::Label, "Factor: ", "Faktor: "},
    {"WriteLinFile", Element::Caption, "Write file", "Datei schreiben"},
    {"ReadLinValue", Element::Caption, "Read", "Lesen"},
    {"WriteLinValue", Element::Caption, "Write", "Schreiben"},
    {"PrintLinFile", Element::Caption, "Print linearity", "Linearität drucken"},
    {"LoadFile", Element::Caption, "Load file", "Datei laden"},
    {"FactoryNumber", Element::Label, "Factory Number: ", "Fertigungsnummer: "},
    {"Length", Element::Label, "Length (in mm): ", "Länge (in mm): "},
    {"UltrasonicSpeed", Element::Label, "Ultrasonic Speed (cm/s): ", "Ultraschallgesch. (cm/s): "},
    {"Scale", Element::Label, "Scale: ", "Skalierung: "},
    {"CycleTime", Element::Label, "Cycle Time (async): ", "Zykluszeit (async): "},
    {"SyncTiming", Element::Label, "Cycle Time (sync): ", "Zykluszeit (sync): "},
    {"MonoflopTime", Element::Label, "Monoflop Time (in 1/2µs): ", "Monoflop Zeit (in 1/2µs): "},
    {"Model", Element::Caption, "Model", "Model"},
    {"ReadFactoryButton", Element::Caption, "Read Factory Settings", "Lese Werkseinstellung"},
    {"WriteFactoryButton", Element::Caption, "Write Factory Settings", "Schreibe Werkseinstellung"},
    {"FileOpenItem", Element::Hint, "Opens an KYR Sensor file and reads back the parameters",
     "Öffnet eine KYR Sensor Datei und liest die Parameter ein"},
    {"FileSaveAsItem", Element::Hint, "Saves the current sensor parameters to disk",
     "Speichert die aktuellen Parameter in einer Datei"},
    {"FileHistoryItem", Element::Hint, "Shows what was done to the connected sensor",
     "Zeigt, was mit dem angeschlossenen Sensor geschah"},
    {"Print", Element::Hint, "Prints a summay of the connected sensor",
     "Druckt eine Zusammenfassung des angeschlossenen Sensors"},
    {"RestoreFactorySettings1", Element::Hint, "Restores the factory settings",
     "Sellt die Werkseinstellungen wieder her"},
    {"FileExitItem", Element::Hint, "Quits the application", "Beendet das Programm"},
    {"TestSensor", Element::Hint, "Reads out the SSI values of the sensor",
     "Liest die SSI Messwerte vom Sensor aus"},
    {"Language1", Element::Hint, "Lets you choose between different language versions",
     "Wählen Sie die gewünschte Sprache"},
    {"English1", Element::Hint, "Sets the language to english", nullptr},
    {"HelpContentsItem", Element::Hint, "Opens the help file", "Öffnet die Hilfedatei"},
    {"HelpAboutItem", Element::Hint, "About dialog", "Info"},
    {"StatusBox", Element::Hint, "Displays the current communication status with the sensor",
     "Zeigt den aktuellen Kommunikationsstatus mit dem Sensor an"},
    {"EEPROMUpdateButton", Element::Hint, "Saves the current parameters to sensor EEPROM",
     "Speichert die aktuellen Parameter ins Sensor-EEPROM"},
    {"SSISettings", Element::Hint, "SSI-interface specific settings", "SSI Einstellungen"},
    {"ErrorIndication", Element::Hint, "Settings for error indication",
     "Einstellungen für die Fehlerwertausgabe"},
    {"Measurement", Element::Hint, "Measurement specific settings", "Messungseinstellungen"},
    {"Measurement2", Element::Hint, "Measurement specific settings", "Messungseinstellungen"},
    {"LinPage", Element::Hint, "parameters for the \ninternal linearization",
     "interne Linearisierung"},
    {"Firmware", Element::Hint, "Software update", "Software update"},
    {"ExpertSettings", Element::Hint, "Expert Settings", "Experten Einstellungen"},
    {"ExpertSettings2", Element::Hint, "Expert Settings 2", "Experten Einstellungen 2"},
    {"CodingGroup", Element::Hint, "Sets the SSI-transmission format to binary or gray",
     "Setzt das Übertragungsformat auf binär oder gray"},
    {"BitWidth", Element::Hint, "Bit width [1-32 Bit]. Parity- & Errorbit not included",
     "Bestimmt die SSI Bitbreite (1-32 Bit). Paritäts- und Fehlerbit nicht mitgezählt"},
    {"Mode", Element::Hint,
     "Sets the mode of measurement:\n- asynchronous mode\n- synchronous mode\nStandard: "
     "asynchronous.",
     "Setzt den Messmodus auf asynchron oder synchron.\nStandard: asynchron"},
    {"SSI_Abstand", Element::Hint, "sampling rate for extrapolation",
     "Gibt die ermittelte Abfagezyklus in µs an - \ngültig nur bei Messoption: Extrapolation."},
    {"UARTWrites", Element::Hint,
     "Sets number of measurements for\nupdated UART transmission.\nStandard setting: 50",
     "Gibt die Anzahl der Messungen an,\nbevor eine Erneute Meswertübertragung über die UART "
     "läuft.\nStandard: 50"},
    {"JitterWindow", Element::Hint,
     "Specifies the safety margin between measurement and\nSSI-Transmission in µs. Default: 50",
     "Gibt den Sicherheitsabstand zwischen Messungsstart und SSI-Takt an"},
    {"SSI_Start_CheckBox", Element::Hint, "Starts the measurement synchronouse to the SSI tact.",
     "Die Messung wird taktsynchron gestartet. "},
    {"ErrorValue", Element::Hint, "Transmit the set value under error condition.",
     "Im Falle eines Messfehlers gibt der Sensor diesen Fehlerwert aus"},
    {"ErrorCount", Element::Hint,
     "Specifies the number of errors which\nhave to occur before an error is indicated",
     "Stellt die Anzahl der Fehler ein, die Auftreten müssen,\nbevor der Sensor ein Fehlerwert "
     "ausgibt (1-255)"},
    {"PowerFail", Element::Hint,
     "Under voltage detector:\nvalid values: 1-100 ms\n- switched off: 0\n- Standard value: 1 ms",
     "Gibt die Ansprechzeitverzögerung für die Unterspannungserkennung\nin ms an (1-100) - "
     "ausschaltbar mit '0'.\nStandard: 1ms"},
    {"ErrorValue2", Element::Hint,
     "Error value (-1)\nTransmission under more magnet detecting condition.",
     "Fehlerwert ist gleich -1, wenn mehr Magnete als SOLL detektiert werden!\nBei detektierte "
     "Magnetzahl kleiner SOLL wird der eingestellte Fehlerwert ausgegeben!"},
    {"OriginLabel", Element::Hint, "Set the new origin to the current magnet position",
     "Setzt den Nullpunkt an die aktuelle Magnetposition"},
    {"FilterS", Element::Hint, "Specifies the filter grade for averaging the position values",
     "Gibt die Anzahl der Werte an über die eine Durchschnittsrechnung durchgeführt wird"},
    {"Direction", Element::Hint, "Specifies the measurement direction",
     "Stellt die Messrichung ein"},
    {"PosDifVel", Element::Hint,
     "Specifies the operational mode of the sensor.\nStandard: Position",
     "Gibt den Messmodus an.\nStandard: Position"},
    {"Resolution", Element::Hint, "Specifies the measurement resolution in µm",
     "Gibt die Messauflösung des Sensors in µm an"},
    {"Offset", Element::Hint, "Specifies the position offset in µm",
     "Gibt den Positionsoffset in µm an"},
    {"Siemens", Element::Hint, "Adds a parity and an error bit to the SSI bit stream",
     "Fügt den SSI-Daten ein Fehler- und ein Paritätsbit hinzu!\nAchtung: bei synchroner Messart "
     "ändert sich die Zykluszeit!"},
    {"Temperature", Element::Hint,
     "Sets the highest bit segment (Bit 24 - Bit 31)\nfor sensor temperature",
     "Überträgt die Sensortemperatur in den Bits 24-31"},
    {"Extrapolation", Element::Hint,
     "Sets the extrapolation.\nIf sampling frequency > measurement frequency\nAttention: \nmax. "
     "sample frequency = 10kHz",
     "Bei Abtastfrequenz > Messfrequenz werden \ndie Zwischenwerte extrapoliert!\nAchtung: max. "
     "Abtastfequenz = 10kHz!"},
    {"ExtrapolForward", Element::Hint,
     "The transmitted values are extrapolate\nto the actual magnet position.",
     "Extrapolation auf den Magnetposition zum Abtastzeitpunkt!\nDer zeitliche Verzug wird "
     "herausgerechnet!"},
    {"TempComp", Element::Hint, "The effect of temperature will be calculated!",
     "Der Temperatureinfluss wird herausgerechnet!"},
    {"StartPoint", Element::Hint, "Specifies the sensor raw value of measuring range start.",
     "Gibt den Positionsrohwert für den \nMessbereichsanfang an."},
    {"EndPoint", Element::Hint, "Specifies the sensor raw value of measuring range end.",
     "Gibt den Positionsrohwert für den \nMessbereichsende an."},
    {"DelStartPoint", Element::Hint, "Deletes the measurement range starts.",
     "Löscht die Begrenzung für Messbereichsanfang! \nEs gibt keine Begrenzung in Richtung "
     "Sensorkopf!"},
    {"DelEndPoint", Element::Hint,
     "Deletes the measurement range end.\nThere is no limit towards the sensor end.",
     "Löscht die Begrenzung für Messbereichsende! \nEs gibt keine Begrenzung in Richtung "
     "Sensorende!"},
    {"SetStartPoint", Element::Hint,
     "Defines the measurement range start.\nDetected magnets out of this range will be ignored!",
     "Setzt den Messbereichsanfang an die aktuelle Magnetposition!\nMagnete ausserhalb des "
     "Messbereichs werden ignoriert!"},
    {"SetEndPoint", Element::Hint,
     "Defines the measurement range end.\nDetected magnets out of this range will be ignored!",
     "Setzt die Messbereichsende an die aktuelle Magnetposition!\nMagnete ausserhalb des "
     "Messbereichs werden ignoriert!"},
    {"LinStartValue", Element::Hint,
     "Sensors start raw value.\nDepend from the type: \n(QH = 51mm, QP = 28mm).",
     "Positionsrohwert am typenabhängigen \nMessbereichsanfang (QH = 51mm, QP = 28mm)."},
    {"AdresLabel", Element::Hint, "Specified EEPROM address of the saved linearity values.",
     "Gibt die EEPROM Adresse der \ngespeicherten Linearisierungsdaten an."},
    {"ValueLabel", Element::Hint, "Computed linearity values",
     "Gibt den gespeicherten Linearisierungsdaten an."},
    {"FactorLabel", Element::Hint, "Specifies factor of the saved linearity values.",
     "Gibt den Faktor der gespeicherten Linearitätswerte an."},
    {"WriteLinFile", Element::Hint,
     "Writes a file with the linearity data's.\nfilename: factory number (SSI-LIN).txt\n: in the "
     "same folder as the configurator software",
     "Die gespeicherten Daten werden gelesen und in einer Datei geschrieben!\nDateiname: "
     "Fertigunsnummer (SSI-LIN).txt\nSpeichertort: im gleichen Ordner wie die Software"},
    {"ReadLinValue", Element::Hint, "Read the linearity value at the entered address.",
     "Lesen der gespeicherten Linearisierungsdaten\nan der eingetragenen Adresse."},
    {"WriteLinValue", Element::Hint, "The saved value will be overwrite with the entered value.",
     "Die gespeicherten Linearisierungsdaten werden\n mit den eingetragenen Wert überschrieben!"},
    {"PrintLinFile", Element::Hint, "Prints the linearity chart (*.pdf available)!",
     "Druckt die Linearitätskurve aus (*.pdf möglich)!"},
    {"LoadFile", Element::Hint, "Load the new firmware ...", "Zum Laden der neuen Firmware ..."},
    {"UpdateFW", Element::Hint, "starts the update ...", "Startet die Softwareaktualisierung ..."},
    {"InfoBox", Element::Hint, "File information field",
     "Informationsfeld über die angewählte Datei."},
    {"Download", Element::Hint, "Status field.", "Zeigt die Status-Informationen an."},
    {"FactoryNumber", Element::Hint, "This is the eight digit factory number",
     "Dieses ist die achtstellige Seriennummer"},
    {"Length", Element::Hint, "Specifies the sensor length in mm",
     "Gibt die Länge des Sensors in mm an"},
    {"UltrasonicSpeed", Element::Hint, "Specifies the ultrasonic speed in cm/s",
     "Gibt die Ultraschallgeschwindigkeit in cm/s an"},
    {"Scale", Element::Hint, "Specifies the internal ORLA-Scale",
     "Gibt die interne ORLA-Skalierung an"},
    {"CycleTime", Element::Hint, "The cycle time for asynchronous operation (in 1/4 µs)",
     "Zykluszeit für asynchrone Messung (in 1/4µs)"},
    {"SyncTiming", Element::Hint, "The cycle time for synchronous operation (in 1/4 µs)",
     "Zykluszeit für synchrone Messung (in 1/4µs)"},
    {"MonoflopTime", Element::Hint,
     "Specifies the time between last SSI-clock\nand the fall back of the monoflop (in "
     "1/2µs).\nStandard value: 32",
     "Gibt die Monoflopzeit in (1/2µs) an.\nStandard: 32"},
    {"Model", Element::Hint, "Specifies the Sensor Model:\nHydraulic (_H) or Profile Version (_P)",
     "Gibt die Sensor-Bauform an:\nHydraulic (_H) oder Profile Version (_P)"},
    {"Blanking", Element::Hint, "Time after interrogation pulse in that no result is accepted",
     "Zeit nach dem Interrogationsimpuls, in welcher kein Antwortsignal akzeptiert wird."},
    {"ReadFactoryButton", Element::Hint, "Reads out the original sensor parameters stored by KYR",
     "Liest die Werkseinstellung aus"},
    {"WriteFactoryButton", Element::Hint, "Overwrites the factory settings with the new parameters",
     "Überschreibt die Werkseinstellungen mit den aktuellen Parametern"},
};

constexpr Entry kThreeStageTexts[] = {
    {kChargepumpStages, Element::Caption, "Chargepump", "Ladungspumpe"},
    {kChargepumpStages, Element::Items, "1 Stage\n3 Stages\n6 Stages",
     "1 Stufe\n3 Stufen\n6 Stufen"},
    {kChargepumpStages, Element::Hint,
     "Sets the number of chargepump stages. \nSensor Length <345mm: 1 Stage\nSensor Length "
     "345-1669mm: 3 Stages\nSensor Length >1669mm: 6 Stages",
     "Setzt die Anzahl der Ladungspumpenstufen.\nSensor Länge <345mm: 1 Stufe\nSensor Länge "
     "345-1669: 3 Stufen\nSensor Länge >1669mm: 6 Stufen"},
};

constexpr Entry kEightStageTexts[] = {
    {kChargepumpStages, Element::Caption, "Chargepump", "Ladungspumpe"},
    {kChargepumpStages, Element::Items,
     "Stage 1 (0x00)\nStage 2 (0x80)\nStage 3 (0x40)\nStage 4 (0xC0)\nStage 5 (0x20)\nStage 6 "
     "(0xA0)\nStage 7 (0x60)\nStage 8 (0xE0)",
     "Stufe 1 (0x00)\nStufe 2 (0x80)\nStufe 3 (0x40)\nStufe 4 (0xC0)\nStufe 5 (0x20)\nStufe 6 "
     "(0xA0)\nStufe 7 (0x60)\nStufe 8 (0xE0)"},
    {kChargepumpStages, Element::Hint,
     "Regulates the current of the chargepump stages. \nSensor Length < 150mm: Stage 1\nSensor "
     "Length 150-349mm: Stage 2\nSensor Length 350-549mm: Stage 3\nSensor Length 550-799mm: Stage "
     "4\nSensor Length 800-1099mm: Stage 5\nSensor Length 1100-1449mm: Stage 6\nSensor Length "
     "1450-1600mm: Stage 7\nSensor Length 1601-3250mm: Stage 8",
     "Regelt den Ladungspumpenstrom\nSensor Länge < 150mm: Stufe 1\nSensor Länge 150-349mm: Stufe "
     "2\nSensor Länge 350-549mm: Stufe 3\nSensor Länge 550-799mm: Stufe 4\nSensor Länge "
     "800-1099mm: Stufe 5\nSensor Länge 1100-1449mm: Stufe 6\nSensor Länge 1450-1600mm: Stufe "
     "7\nSensor Länge 1601-3250mm: Stufe 8"},
};

constexpr Entry kCycleTimeInitial[] = {
    {"Label5", Element::Caption, "Cycle Time:", "Zykluszeit: "},
};
constexpr Entry kCycleTimeAsynchronous[] = {
    {"Label5", Element::Caption, "Cycle Time:", "Zykluszeit:"},
};
constexpr Entry kCycleTimeSynchronous[] = {
    {"Label5", Element::Caption, "Min. SSI period:", "Min. Meßzykluszeit:"},
};

constexpr Entry kInternalLinearization[] = {
    {"Linearisierung", Element::Caption, "internal linearization", "interne Linearisierung"},
    {"Linearisierung", Element::Hint,
     "With integrated linearity values for compenzation!\nAttention: \n - the cycle time will be "
     "changed\n - only available, if already ordered with this option",
     "Der im Werk ermittelte Nichtlinearität wird herausgerechnet!\nAchtung: \n - die Zykluszeit "
     "ändert sich!\n - nur möglich, wenn diese Option auch bestellt wurde!"},
};
constexpr Entry kExcludeReflection[] = {
    {"Linearisierung", Element::Caption, "exclude reflection", "Reflexion ausschließen"},
    {"Linearisierung", Element::Hint,
     "For exclude the reflection of returned wave!\nAttention: The cycle time will be changed.",
     "Die Reflexion (Sensoren > 600mm) wird hiermit ausgeschlossen!\nAchtung: \n - die "
     "Zykluszeit ändert sich!"},
};

const ChargepumpGroup kThreeStages{kThreeStageTexts, 84, true};
const ChargepumpGroup kEightStages{kEightStageTexts, 180, false};

constexpr LayoutText kLayoutTexts[] = {
    {"SelComPort", Element::Caption, "COM Port"},
    {"Label6", Element::Caption, "Firmware Version:"},
    {"Label7", Element::Caption, "Operating time:"},
    {"Label7", Element::Hint, "Betriebsstundenzähler"},
    {"OpTimeYears", Element::Label, "years"},
    {"OpTimeYears", Element::Hint, "Betriebsstundenzähler: 1 Jahr = 365 Tage"},
    {"OpTimeMonth", Element::Label, "month"},
    {"OpTimeMonth", Element::Hint, "Betriebsstundenzähler: 1 Monat = 30 Tage"},
    {"OpTimeDays", Element::Label, "days"},
    {"OpTimeDays", Element::Hint, "Betriebsstundenzähler: 1 Tag = 24 Stunden"},
    {"OpTimeHours", Element::Label, "hours"},
    {"OpTimeHours", Element::Hint, "Betriebsstundenzähler: Stunden"},
    {"OpTimeMinutes", Element::Label, "minutes"},
    {"OpTimeMinutes", Element::Hint, "Betriebsstundenzähler: Minuten"},
    {"SlowAvarageFilter", Element::Caption, "slow avarage filter"},
    {"Extrapolation", Element::Caption, "Extrapolation/SyncStart"},
    {"ExtrapolForward", Element::Caption, "Extrapolation (real)"},
    {"SetStartPoint", Element::Caption, "Set"},
    {"SetEndPoint", Element::Caption, "Set"},
    {"DelStartPoint", Element::Caption, "Delete"},
    {"DelEndPoint", Element::Caption, "Delete"},
    {"UpdateFW", Element::Caption, "Update"},
    {"Blanking", Element::Label, "Blanking (in 1/4us): "},
    {"FirmwareUpdate", Element::Caption, "Firmware Update"},
    {kEnglishItem, Element::Caption, "English"},
    {kGermanItem, Element::Caption, "Deutsch"},
    {kModel, Element::Items, "QH\nQP\nKH\nKP\nQD\nQF\nQA"},
};

}  // namespace

std::span<const Entry> catalogue() {
    return kCatalogue;
}

const ChargepumpGroup& chargepumpGroup(const QString& sensorTypeText) {
    return rules::HasEightChargepumpStages(sensorTypeText.toStdString()) ? kEightStages
                                                                         : kThreeStages;
}

std::span<const Entry> cycleTimeCaption(CycleTimeWording wording) {
    switch (wording) {
        case CycleTimeWording::Asynchronous:
            return kCycleTimeAsynchronous;
        case CycleTimeWording::Synchronous:
            return kCycleTimeSynchronous;
        case CycleTimeWording::Initial:
            break;
    }
    return kCycleTimeInitial;
}

std::span<const Entry> linearizationWording(bool internalLinearization) {
    if (internalLinearization)
        return kInternalLinearization;
    return kExcludeReflection;
}

std::span<const LayoutText> layoutTexts() {
    return kLayoutTexts;
}

std::optional<QString> textFor(const Entry& entry, uint8_t uiLanguage) {
    if (uiLanguage == kUiGerman && entry.german == nullptr)
        return std::nullopt;
    return pick(uiLanguage,
                TextPair{QString::fromUtf8(entry.english), QString::fromUtf8(entry.german)});
}

const TextPair& statusFound() {
    static const TextPair text{QStringLiteral("SSI-Sensor found on COM-Port %1"),
                               QStringLiteral("SSI-Sensor gefunden an COM-Port %1")};
    return text;
}

const TextPair& statusEstablished() {
    static const TextPair text{QStringLiteral("Communication established on COM-Port %1"),
                               QStringLiteral("Verbindung hergestellt an COM-Port %1")};
    return text;
}

const TextPair& statusUpdatePending() {
    static const TextPair text{
        QStringLiteral("EEPROM-Update: Click Update to save new parameters"),
        QStringLiteral("EEPROM-Update: Wählen Sie \"Update\" um Parameter zu speichern")};
    return text;
}

const TextPair& statusNotConnected() {
    static const TextPair text{QStringLiteral("COM%1: SSI-Sensor not connected..."),
                               QStringLiteral("COM%1: SSI-Sensor nicht gefunden...")};
    return text;
}

const TextPair& statusModemLinesSkipped() {
    static const TextPair text{
        QStringLiteral("%1 does not switch modem lines (RTS); the requests are skipped"),
        QStringLiteral("%1 schaltet keine Modemleitungen (RTS); die Anforderungen entfallen")};
    return text;
}

const TextPair& statusHistoryMissed() {
    static const TextPair text{
        QStringLiteral("The history could not record the last operation: %1. It will be written "
                       "with the next one."),
        QStringLiteral("Die Historie konnte den letzten Vorgang nicht speichern: %1. Er wird mit "
                       "dem nächsten geschrieben.")};
    return text;
}

const TextPair& pointNotDefined() {
    static const TextPair text = PairOf(rules::ViewTextRow(rules::ViewText::PointNotDefined));
    return text;
}

}  // namespace maintexts
