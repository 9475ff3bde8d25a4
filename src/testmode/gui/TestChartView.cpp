#include "testmode/gui/TestChartView.h"

#include <QChart>
#include <QFile>
#include <QGraphicsTextItem>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgGenerator>
#include <QWheelEvent>

namespace {

constexpr double ZoomStep = 1.25;

}  // namespace

void CacheChartTexts(QGraphicsItem& item, bool cached) {
    for (QGraphicsItem* child : item.childItems()) {
        if (child->type() == QGraphicsTextItem::Type) {
            child->setCacheMode(cached ? QGraphicsItem::DeviceCoordinateCache
                                       : QGraphicsItem::NoCache);
        }
        CacheChartTexts(*child, cached);
    }
}

TestChartView::TestChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {}

void TestChartView::wheelEvent(QWheelEvent* event) {
    const double factor = event->angleDelta().y() > 0 ? 1 / ZoomStep : ZoomStep;
    const QPointF at = chart()->mapFromScene(mapToScene(event->position().toPoint()));
    const QRectF plot = chart()->plotArea();
    // The point under the mouse stays where it is.
    const QRectF zoomed(at.x() - (at.x() - plot.left()) * factor,
                        at.y() - (at.y() - plot.top()) * factor, plot.width() * factor,
                        plot.height() * factor);
    CacheChartTexts(*chart(), false);
    chart()->zoomIn(zoomed);
    emit viewMoved();
    event->accept();
}

void TestChartView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragFrom_ = event->position();
        event->accept();
        return;
    }
    QChartView::mousePressEvent(event);
}

void TestChartView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragFrom_) {
        QChartView::mouseMoveEvent(event);
        return;
    }
    const QPointF moved = event->position() - *dragFrom_;
    dragFrom_ = event->position();
    CacheChartTexts(*chart(), false);
    chart()->scroll(-moved.x(), moved.y());
    emit viewMoved();
    event->accept();
}

void TestChartView::mouseReleaseEvent(QMouseEvent* event) {
    dragFrom_.reset();
    QChartView::mouseReleaseEvent(event);
}

void TestChartView::mouseDoubleClickEvent(QMouseEvent* event) {
    dragFrom_.reset();
    emit followRequested();
    event->accept();
}

bool SaveWidgetImage(QWidget& widget, const QString& path) {
    if (!path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        return widget.grab().save(path, "PNG");
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(widget.size());
    svg.setViewBox(QRect(QPoint(0, 0), widget.size()));
    QPainter painter;
    if (!painter.begin(&svg)) {
        return false;
    }
    widget.render(&painter);
    painter.end();
    return file.flush() && file.error() == QFile::NoError;
}
