#pragma once

#include <QString>

class QAction;
class QWidget;

// A hint is shown as a tool tip and, while the mouse is over the control or
// menu entry, in the main window's status line.
void setHint(QWidget& widget, const QString& hint);
void setHint(QAction& action, const QString& hint);
QString hintOf(const QWidget& widget);
QString hintOf(const QAction& action);
