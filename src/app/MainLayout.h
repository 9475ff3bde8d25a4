#pragma once

class QMainWindow;
class QWidget;
struct MainControls;

// Builds the main window's own controls and menus in their initial state, with
// empty named pages, and records them in `ui`.
void buildMainLayout(QMainWindow& window, MainControls& ui);

// Puts the sensor information box below the logo and the update button at the
// foot of the left column.
void placeSensorInformation(MainControls& ui, QWidget& box, QWidget& updateButton);
