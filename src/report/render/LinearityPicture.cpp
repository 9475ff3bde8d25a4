#include "report/render/LinearityPicture.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>
#include <QStandardPaths>
#include <QUrl>
#include <cmath>

#include "linearization/ChartTexts.h"
#include "report/TemplateFiles.h"
#include "report/render/ReportDocument.h"

namespace report {

namespace {

using linearization::ChartText;

constexpr QSize PictureSize(2400, 1800);
constexpr char PictureFile[] = "Linearität.png";
constexpr int TargetTicks = 10;
constexpr int LeftMinorTicks = 4;
constexpr double StepMultiples[] = {1, 2, 2.5, 5, 10};

// Sizes in pixels of the picture.
constexpr int TitleSize = 64;
constexpr int LabelSize = 34;
constexpr int AxisTitleSize = 38;
constexpr int CurveWidth = 5;
constexpr int LineWidth = 2;
constexpr int TickLength = 16;
constexpr int MinorTickLength = 9;
const QMargins PlotMargins(250, 150, 70, 190);

const QColor CurveColour(0x00, 0x00, 0x80);  // navy
const QColor GridColour(0xDD, 0xDD, 0xDD);

QString chartText(ChartText id, uint8_t language) {
    return QString::fromUtf8(TextOf(linearization::ChartTextRow(id), language));
}

QFont font(int pixelSize, bool bold) {
    QFont f(ReportFontFamily());
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

// A round step that divides the span into about `TargetTicks` parts.
double niceStep(double span) {
    if (span <= 0)
        return 1;
    const double raw = span / TargetTicks;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double multiple : StepMultiples) {
        if (multiple * magnitude >= raw)
            return multiple * magnitude;
    }
    return 10 * magnitude;
}

QString tickLabel(double value) {
    return QString::number(std::abs(value) < 1e-9 ? 0.0 : value, 'g', 7);
}

// Maps chart values to pixels of the plot area.
class Plot {
public:
    Plot(const QRectF& area, double xMax, double yLimit)
        : area_(area), xMax_(xMax > 0 ? xMax : 1), yLimit_(yLimit > 0 ? yLimit : 1) {}

    QPointF at(double x, double y) const {
        return {area_.left() + x / xMax_ * area_.width(),
                area_.center().y() - y / yLimit_ * area_.height() / 2};
    }
    const QRectF& area() const { return area_; }
    double xMax() const { return xMax_; }
    double yLimit() const { return yLimit_; }

private:
    QRectF area_;
    double xMax_;
    double yLimit_;
};

void drawTitle(QPainter& p, const QString& title) {
    QFont f = font(TitleSize, true);
    f.setItalic(true);
    f.setUnderline(true);
    p.setFont(f);
    p.drawText(QRectF(0, 0, PictureSize.width(), PlotMargins.top()), Qt::AlignCenter, title);
}

void drawLeftAxis(QPainter& p, const Plot& plot) {
    const double step = niceStep(2 * plot.yLimit());
    const QRectF& area = plot.area();
    p.setFont(font(LabelSize, true));
    for (double y = -std::floor(plot.yLimit() / step) * step; y <= plot.yLimit() + 1e-9;
         y += step) {
        const QPointF tick = plot.at(0, y);
        p.setPen(QPen(GridColour, LineWidth));
        p.drawLine(tick, QPointF(area.right(), tick.y()));
        p.setPen(QPen(Qt::black, LineWidth));
        p.drawLine(tick, tick - QPointF(TickLength, 0));
        const QRectF label(0, tick.y() - LabelSize, area.left() - TickLength * 1.5, 2 * LabelSize);
        p.drawText(label, Qt::AlignRight | Qt::AlignVCenter, tickLabel(y));
        for (int minor = 1; minor <= LeftMinorTicks; ++minor) {
            const double my = y + minor * step / (LeftMinorTicks + 1);
            if (my > plot.yLimit())
                break;
            const QPointF m = plot.at(0, my);
            p.drawLine(m, m - QPointF(MinorTickLength, 0));
        }
    }
}

void drawBottomAxis(QPainter& p, const Plot& plot) {
    const double step = niceStep(plot.xMax());
    const QRectF& area = plot.area();
    p.setFont(font(LabelSize, true));
    for (double x = 0; x <= plot.xMax() + 1e-9; x += step) {
        const double px = plot.at(x, 0).x();
        p.setPen(QPen(GridColour, LineWidth));
        p.drawLine(QPointF(px, area.top()), QPointF(px, area.bottom()));
        p.setPen(QPen(Qt::black, LineWidth));
        p.drawLine(QPointF(px, area.bottom()), QPointF(px, area.bottom() + TickLength));
        const QRectF label(px - 150, area.bottom() + TickLength, 300, 1.6 * LabelSize);
        p.drawText(label, Qt::AlignHCenter | Qt::AlignTop, tickLabel(x));
    }
}

void drawAxisTitles(QPainter& p, const Plot& plot, uint8_t language) {
    const QRectF& area = plot.area();
    p.setFont(font(AxisTitleSize, true));
    p.setPen(Qt::black);
    const QRectF bottom(area.left(), area.bottom() + TickLength + 1.8 * LabelSize, area.width(),
                        2 * AxisTitleSize);
    p.drawText(bottom, Qt::AlignCenter, chartText(ChartText::BottomAxis, language));
    p.save();
    p.translate(AxisTitleSize, area.center().y());
    p.rotate(-90);
    p.drawText(QRectF(-area.height() / 2, -AxisTitleSize, area.height(), 2 * AxisTitleSize),
               Qt::AlignCenter, chartText(ChartText::LeftAxis, language));
    p.restore();
}

void drawLines(QPainter& p, const Plot& plot, const linearization::ChartData& data) {
    const double b = data.tolerance;
    p.setPen(QPen(Qt::black, LineWidth));
    for (const double y : {b, -b, 0.0})
        p.drawLine(plot.at(0, y), plot.at(plot.xMax(), y));
    if (data.curve.empty())
        return;
    QPainterPath curve(plot.at(data.curve.front().x, data.curve.front().y));
    for (const linearization::ChartPoint& point : data.curve)
        curve.lineTo(plot.at(point.x, point.y));
    p.save();
    p.setClipRect(plot.area());
    p.setPen(QPen(CurveColour, CurveWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(curve);
    p.restore();
}

// The picture's file in the user's own data folder, never in the installation.
QString picturePath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QLatin1Char('/') + QString::fromUtf8(PictureFile);
}

// Writes the picture as PNG, creating the folder when it is missing; a failure
// leaves any existing file as it was.
FileOutcome savePicture(const QImage& picture, const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return {false, QStringLiteral("cannot create the folder ") + folder};
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    if (!picture.save(&png, "PNG"))
        return {false, QStringLiteral("the picture could not be encoded")};
    return WriteOutputFile(path, png.data());
}

// The location of a picture file as a report template takes it.
std::string pictureUrl(const QString& path) {
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded).toStdString();
}

}  // namespace

QImage DrawLinearityChart(const LinearityChart& chart) {
    QImage picture(PictureSize, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const Plot plot(QRectF(QPoint(0, 0), PictureSize).marginsRemoved(PlotMargins), chart.lengthMm,
                    linearization::AxisLimit(chart.data.tolerance));
    drawTitle(p, chartText(ChartText::Title, chart.language));
    drawBottomAxis(p, plot);
    drawLeftAxis(p, plot);
    drawLines(p, plot, chart.data);
    p.setPen(QPen(Qt::black, LineWidth));
    p.setBrush(Qt::NoBrush);
    p.drawRect(plot.area());
    drawAxisTitles(p, plot, chart.language);
    return picture;
}

PreparedLinearityReport PrepareLinearityReport(const LinearityChart& chart,
                                               const linearization::ChartFields& values,
                                               const linearization::ChartFields& labels) {
    PreparedLinearityReport prepared;
    prepared.picturePath = picturePath();
    prepared.picture = savePicture(DrawLinearityChart(chart), prepared.picturePath);
    prepared.request = {
        LinearityTemplate, chart.language,
        linearization::LinearityReportParameters(values, labels, pictureUrl(prepared.picturePath))};
    return prepared;
}

}  // namespace report
