#pragma once

#include <QString>
#include <QTabWidget>

// The tab pages of the main window, addressed by the page's objectName.
// Hiding a page hides its tab only; the page can still be made the current one.
// A tab's hint is its tool tip and goes to the status line while the mouse is over the tab.
class PageControl : public QTabWidget {
    Q_OBJECT

public:
    explicit PageControl(const QString& name, QWidget* parent = nullptr);

    QWidget* addPage(const QString& pageName);
    QWidget* page(const QString& pageName) const;

    void setPageCaption(const QString& pageName, const QString& caption);
    QString pageCaption(const QString& pageName) const;
    void setPageHint(const QString& pageName, const QString& hint);
    QString pageHint(const QString& pageName) const;
    void setPageTabVisible(const QString& pageName, bool visible);
    bool isPageTabVisible(const QString& pageName) const;
    void showPage(const QString& pageName);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int indexOfPage(const QString& pageName) const;
    void showTabHint(int index);

    int hoveredTab_ = -1;
};
