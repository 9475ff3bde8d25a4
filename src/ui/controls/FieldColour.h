#pragma once

#include <QColor>

class QWidget;

// A control whose register was changed is painted in the highlight colour;
// otherwise edit fields are white and choices take the button-face colour.
enum class FieldColour { Highlight, White, ButtonFace };

inline const QColor HighlightColour{0xA6, 0xCA, 0xF0};

QColor colourValue(FieldColour colour);

// Paints the background of `widget` (the text area for edits).
void paintField(QWidget& widget, FieldColour colour);
