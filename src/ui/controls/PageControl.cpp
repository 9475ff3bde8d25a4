#include "ui/controls/PageControl.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QStatusTipEvent>
#include <QTabBar>

#include "ui/controls/Hint.h"

PageControl::PageControl(const QString& name, QWidget* parent) : QTabWidget(parent) {
    setObjectName(name);
    tabBar()->setMouseTracking(true);
    // Eight tabs in German must fit without scroll buttons.
    tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 4px 6px; }"));
    tabBar()->installEventFilter(this);
}

QWidget* PageControl::addPage(const QString& pageName) {
    auto* page = new QWidget;
    page->setObjectName(pageName);
    addTab(page, pageName);
    return page;
}

QWidget* PageControl::page(const QString& pageName) const {
    const int index = indexOfPage(pageName);
    return index < 0 ? nullptr : widget(index);
}

void PageControl::setPageCaption(const QString& pageName, const QString& caption) {
    setTabText(indexOfPage(pageName), caption);
}

QString PageControl::pageCaption(const QString& pageName) const {
    return tabText(indexOfPage(pageName));
}

// The page itself carries the hint too, so that it shows in the status line
// over every part of the page that has no hint of its own.
void PageControl::setPageHint(const QString& pageName, const QString& hint) {
    const int index = indexOfPage(pageName);
    if (index < 0)
        return;
    setTabToolTip(index, hint);
    setHint(*widget(index), hint);
}

QString PageControl::pageHint(const QString& pageName) const {
    return tabToolTip(indexOfPage(pageName));
}

void PageControl::setPageTabVisible(const QString& pageName, bool visible) {
    setTabVisible(indexOfPage(pageName), visible);
}

bool PageControl::isPageTabVisible(const QString& pageName) const {
    return isTabVisible(indexOfPage(pageName));
}

void PageControl::showPage(const QString& pageName) {
    if (QWidget* shown = page(pageName))
        setCurrentWidget(shown);
}

bool PageControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tabBar()) {
        if (event->type() == QEvent::MouseMove) {
            showTabHint(tabBar()->tabAt(static_cast<QMouseEvent*>(event)->position().toPoint()));
        } else if (event->type() == QEvent::Leave) {
            showTabHint(-1);
        }
    }
    return QTabWidget::eventFilter(watched, event);
}

int PageControl::indexOfPage(const QString& pageName) const {
    for (int i = 0; i < count(); ++i) {
        if (widget(i)->objectName() == pageName)
            return i;
    }
    return -1;
}

void PageControl::showTabHint(int index) {
    if (index == hoveredTab_)
        return;
    hoveredTab_ = index;
    QStatusTipEvent tip(index < 0 ? QString() : tabToolTip(index));
    QCoreApplication::sendEvent(this, &tip);
}
