#pragma once

class QMainWindow;
struct MainControls;

// Builds the main window's controls and menus in their initial state and
// records them in `ui`.
void buildMainLayout(QMainWindow& window, MainControls& ui);
