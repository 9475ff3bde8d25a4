#include "ui/controls/Hint.h"

#include <QAction>
#include <QWidget>

void setHint(QWidget& widget, const QString& hint) {
    widget.setToolTip(hint);
    widget.setStatusTip(hint);
}

void setHint(QAction& action, const QString& hint) {
    action.setToolTip(hint);
    action.setStatusTip(hint);
}

QString hintOf(const QWidget& widget) {
    return widget.statusTip();
}

QString hintOf(const QAction& action) {
    return action.statusTip();
}
