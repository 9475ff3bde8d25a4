#pragma once

#include <QChartView>
#include <QPointF>
#include <optional>

// The test's chart with zoom on the mouse wheel and pan on a drag; both tell
// that the user moved the view, a double-click asks to follow the stream again.
class TestChartView : public QChartView {
    Q_OBJECT

public:
    TestChartView(QChart* chart, QWidget* parent);

signals:
    void viewMoved();
    void followRequested();

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::optional<QPointF> dragFrom_;
};

// Keeps the chart's texts (rich text, slow to paint) as pictures until they
// change, or paints them anew each time. A picture does not follow a zoom, so
// the view drops them before it zooms or pans.
void CacheChartTexts(QGraphicsItem& item, bool cached);

// Writes the widget as a PNG picture or, for a name ending in .svg, as SVG.
// False when the file could not be written.
bool SaveWidgetImage(QWidget& widget, const QString& path);
