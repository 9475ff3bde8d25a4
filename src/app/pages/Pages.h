#pragma once

class QWidget;
struct MainControls;

// Each function fills one tab page of the main window with its controls and
// records them in `ui`. Controls that the access level decides on start hidden.
void buildSSISettingsPage(QWidget& page, MainControls& ui);
void buildErrorIndicationPage(QWidget& page, MainControls& ui);
void buildMeasurementPage(QWidget& page, MainControls& ui);
void buildMeasurement2Page(QWidget& page, MainControls& ui);
void buildLinPage(QWidget& page, MainControls& ui);
void buildFirmwarePage(QWidget& page, MainControls& ui);
void buildExpertSettingsPage(QWidget& page, MainControls& ui);
void buildExpertSettings2Page(QWidget& page, MainControls& ui);
