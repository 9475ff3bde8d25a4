#include "testmode/gui/HistogramView.h"

#include <QPainter>
#include <algorithm>

namespace {

const QColor Background(0xC2, 0x00, 0x30);
constexpr int Padding = 6;
constexpr int TextRows = 2;

}  // namespace

HistogramView::HistogramView(const QString& title, QWidget* parent)
    : QWidget(parent), title_(title) {
    setObjectName(QStringLiteral("Histogram"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void HistogramView::Show(const testmode::Histogram& histogram) {
    histogram_ = histogram;
    drawPicture();
    update();
}

void HistogramView::paintEvent(QPaintEvent*) {
    QPainter(this).drawPixmap(0, 0, picture_);
}

void HistogramView::resizeEvent(QResizeEvent*) {
    drawPicture();
}

void HistogramView::drawPicture() {
    picture_ = QPixmap(size() * devicePixelRatioF());
    picture_.setDevicePixelRatio(devicePixelRatioF());
    QPainter painter(&picture_);
    painter.fillRect(rect(), Background);
    painter.setPen(Qt::white);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const int line = fontMetrics().height();
    const QRect titleRow(Padding, Padding, width() - 2 * Padding, line);
    const size_t tallest = *std::max_element(histogram_.counts.begin(), histogram_.counts.end());
    painter.drawText(titleRow, Qt::AlignLeft, title_);
    painter.drawText(titleRow, Qt::AlignRight, QString::number(tallest));
    const QRect bars(Padding, Padding + line, width() - 2 * Padding,
                     height() - 2 * Padding - TextRows * line);
    const QRect edges(Padding, bars.bottom() + 1, bars.width(), line);
    const double lastEdge =
        histogram_.firstEdgeUm + double(testmode::Histogram::Bins) * histogram_.binWidthUm;
    painter.drawText(edges, Qt::AlignLeft, QString::number(histogram_.firstEdgeUm, 'f', 1));
    painter.drawText(edges, Qt::AlignHCenter, QStringLiteral("0"));
    painter.drawText(edges, Qt::AlignRight, QString::number(lastEdge, 'f', 1));
    if (tallest == 0 || bars.height() <= 0) {
        return;
    }
    const double barWidth = double(bars.width()) / double(testmode::Histogram::Bins);
    for (size_t bin = 0; bin < testmode::Histogram::Bins; ++bin) {
        const int barHeight =
            int(double(bars.height()) * double(histogram_.counts[bin]) / double(tallest));
        const QRectF bar(bars.left() + double(bin) * barWidth + 1, bars.bottom() - barHeight + 1,
                         barWidth - 2, barHeight);
        painter.fillRect(bar, Qt::white);
    }
}
