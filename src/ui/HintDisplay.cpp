#include "ui/HintDisplay.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTabBar>
#include <QToolTip>

namespace {

QString toolTipAt(const QWidget& widget, const QPoint& position) {
    if (const auto* tabs = qobject_cast<const QTabBar*>(&widget)) {
        const int index = tabs->tabAt(position);
        return index < 0 ? QString() : tabs->tabToolTip(index);
    }
    return widget.toolTip();
}

}  // namespace

HintDisplay::HintDisplay(QObject* parent) : QObject(parent) {
    qApp->installEventFilter(this);
}

bool HintDisplay::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString hint = toolTipAt(*widget, help->pos());
    if (hint.isEmpty())
        return false;
    QToolTip::showText(help->globalPos(), hint, widget, QRect(), HintHidePauseMs);
    return true;
}
