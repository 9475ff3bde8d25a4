#pragma once

#include <QPixmap>
#include <QWidget>

#include "testmode/DeviationHistogram.h"

// The deviations of the chart's window from their mean as bars, with the
// outer bin edges and the tallest count as labels.
class HistogramView : public QWidget {
    Q_OBJECT

public:
    HistogramView(const QString& title, QWidget* parent);

    void Show(const testmode::Histogram& histogram);
    const testmode::Histogram& Shown() const { return histogram_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Drawn when the histogram changes: the chart under it repaints far more often.
    void drawPicture();

    QPixmap picture_;
    QString title_;
    testmode::Histogram histogram_;
};
