#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

class MainState;
class QWidget;

// Sets the check marks of the Language menu, every caption, edit label, choice
// list and hint of the main window for the language (0 English, 1 German), the
// charge-pump group by the sensor type, and repaints the parameter pages. Any
// other language only removes both check marks and repaints.
void applyMainTexts(QWidget& window, const MainState& state);

// Sets only the texts whose wording follows the sensor's set: the cycle-time
// caption and the linearization box.
void applySensorTexts(QWidget& window, const MainState& state);

// Sets the texts that the window shows in one language only.
void applyLayoutTexts(QWidget& window);

// The texts of the catalogue that the window has no control for, or whose
// control cannot show them, as "ObjectName (element)".
QStringList missingTextControls(QWidget& window);
