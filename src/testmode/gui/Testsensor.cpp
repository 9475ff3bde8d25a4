#include "testmode/gui/Testsensor.h"

#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QLabel>
#include <QLineSeries>
#include <QLinearGradient>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QValueAxis>

#include "testmode/gui/TestTexts.h"
#include "ui/controls/LabeledEdit.h"

namespace {

// The window's colour 3145922 is a Windows colour value, blue in the high byte.
const QColor BannerColour(0xC2, 0x00, 0x30);
const QColor GradientTop(255, 255, 255);
const QColor GradientBottom(64, 64, 64);
constexpr int BelowScreenHeight = 50;
constexpr int ChartTop = 170;
constexpr int Margin = 25;
constexpr int ChartHeightLess = 230;
constexpr int BannerAboveChart = 42;
constexpr int BannerPixels = 29;
constexpr int LogoSize = 105;
constexpr int LogoFromRight = 120;
constexpr int RowHeight = 24;
constexpr int RowGap = 16;
constexpr int UnitGap = 5;
constexpr int FieldWidth = 120;
constexpr int QuitWidth = 90;
constexpr int RegisteredSign = 174;

QString pickText(uint8_t uiLanguage, testtexts::Id id) {
    return pick(uiLanguage, testtexts::text(id)).value_or(QString());
}

QString bannerText() {
    return QStringLiteral(" Corvalinear%1 Position Output").arg(QChar(RegisteredSign));
}

}  // namespace

TSensorTestDlg::TSensorTestDlg(uint8_t uiLanguage, bool halfMicrometres, const QPixmap& logo,
                               QWidget* parent)
    : QDialog(parent), halfMicrometres_(halfMicrometres) {
    setObjectName(QStringLiteral("TSensorTestDlg"));
    buildChart();
    buildControls(logo);
    applyTexts(uiLanguage, halfMicrometres);
    sinceRedraw_.start();
}

TSensorTestDlg::~TSensorTestDlg() = default;

void TSensorTestDlg::buildChart() {
    chart = new QChart;
    chart->setBackgroundBrush(BannerColour);
    chart->legend()->hide();
    Series2 = new QLineSeries;
    Series2->setPen(QPen(Qt::white));
    chart->addSeries(Series2);
    axisX = new QValueAxis;
    axisY = new QValueAxis;
    for (QValueAxis* axis : {axisX, axisY}) {
        axis->setLabelsColor(Qt::white);
        axis->setTitleBrush(Qt::white);
    }
    axisX->setLabelFormat(QStringLiteral("%d"));
    axisY->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(axisX, Qt::AlignBottom);
    chart->addAxis(axisY, Qt::AlignLeft);
    Series2->attachAxis(axisX);
    Series2->attachAxis(axisY);
    Diagramm = new QChartView(chart, this);
    Diagramm->setObjectName(QStringLiteral("Diagramm"));
    Diagramm->setRenderHint(QPainter::Antialiasing, false);
}

void TSensorTestDlg::buildControls(const QPixmap& logo) {
    Value = new LabeledEdit(QStringLiteral("Value"), this);
    Value->setReadOnly(true);
    Value->setFieldWidth(FieldWidth);
    ValueUnit = new QLabel(QStringLiteral("mm"), this);
    Temperature = new LabeledEdit(QStringLiteral("Temperature"), this);
    Temperature->setReadOnly(true);
    Temperature->setFieldWidth(FieldWidth);
    Quit = new QPushButton(this);
    Quit->setObjectName(QStringLiteral("Quit"));
    connect(Quit, &QPushButton::clicked, this, &TSensorTestDlg::QuitClick);
    corvalinearLabel = new QLabel(bannerText(), this);
    corvalinearLabel->setObjectName(QStringLiteral("corvalinearLabel"));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(BannerPixels);
    font.setBold(true);
    corvalinearLabel->setFont(font);
    corvalinearLabel->setAutoFillBackground(true);
    QPalette palette = corvalinearLabel->palette();
    palette.setColor(QPalette::Window, BannerColour);
    palette.setColor(QPalette::WindowText, Qt::white);
    corvalinearLabel->setPalette(palette);
    kyrLogo = new QLabel(this);
    kyrLogo->setObjectName(QStringLiteral("kyrLogo"));
    kyrLogo->setPixmap(logo);
    kyrLogo->setFixedSize(LogoSize, LogoSize);
}

void TSensorTestDlg::applyTexts(uint8_t uiLanguage, bool halfMicrometres) {
    using testtexts::Id;
    setWindowTitle(pickText(uiLanguage, Id::Caption));
    Value->setCaption(pickText(uiLanguage, Id::ValueLabel));
    Temperature->setCaption(pickText(uiLanguage, Id::TemperatureLabel));
    Quit->setText(pickText(uiLanguage, Id::Quit));
    chart->setTitle(pickText(uiLanguage, Id::ChartTitle));
    chart->setTitleBrush(Qt::transparent);
    axisY->setTitleText(
        pickText(uiLanguage, halfMicrometres ? Id::AxisHalfMicrometres : Id::AxisMicrometres));
}

void TSensorTestDlg::QuitClick() {
    TestRunning = false;
}

void TSensorTestDlg::AddSample(const testmode::Sample& sample) {
    window_.Add(sample.position);
    axisChanged_ = axis_.Follow(sample.position) || axisChanged_;
    latest_ = sample;
}

void TSensorTestDlg::RedrawIfDue() {
    if (latest_ && sinceRedraw_.elapsed() >= 1000 / RedrawsPerSecond) {
        Redraw();
    }
}

void TSensorTestDlg::Redraw() {
    QList<QPointF> points;
    points.reserve(qsizetype(window_.Size()));
    for (size_t i = 0; i < window_.Size(); ++i) {
        points.append(QPointF(double(window_.At(i).x), double(window_.At(i).y)));
    }
    Series2->replace(points);
    axisX->setRange(double(window_.At(0).x),
                    double(window_.At(0).x + testmode::SampleWindow::LastXBeforeRolling + 1));
    if (axisChanged_) {
        axisY->setRange(axis_.Minimum(), axis_.Maximum());
        axisChanged_ = false;
    }
    if (latest_) {
        const QChar separator = QLocale().decimalPoint().front();
        const double mm = testmode::Millimetres(latest_->position, halfMicrometres_);
        Value->setText(
            QString::fromStdString(testmode::MillimetreText(mm, char(separator.toLatin1()))));
        if (latest_->temperature) {
            Temperature->setText(QString::number(*latest_->temperature));
        }
        latest_.reset();
    }
    ++redraws_;
    sinceRedraw_.restart();
}

void TSensorTestDlg::showEvent(QShowEvent* event) {
    if (const QScreen* display = screen()) {
        const QRect available = display->geometry();
        resize(available.width(), available.height() - BelowScreenHeight);
    }
    layoutControls();
    QDialog::showEvent(event);
}

void TSensorTestDlg::resizeEvent(QResizeEvent* event) {
    layoutControls();
    QDialog::resizeEvent(event);
}

void TSensorTestDlg::layoutControls() {
    const int chartWidth = width() - 2 * Margin;
    Diagramm->setGeometry(Margin, ChartTop, chartWidth, height() - ChartHeightLess);
    corvalinearLabel->setGeometry(Margin, ChartTop - BannerAboveChart, chartWidth,
                                  BannerAboveChart);
    kyrLogo->move(width() - LogoFromRight, 0);
    const int rowTop = Diagramm->geometry().bottom() + RowGap;
    Value->adjustSize();
    Value->move(Margin, rowTop);
    ValueUnit->adjustSize();
    ValueUnit->move(Value->geometry().right() + UnitGap, rowTop + UnitGap);
    Temperature->adjustSize();
    Temperature->move(ValueUnit->geometry().right() + Margin, rowTop);
    Quit->setGeometry(width() - Margin - QuitWidth, height() - Margin - RowHeight, QuitWidth,
                      RowHeight);
}

void TSensorTestDlg::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, GradientTop);
    gradient.setColorAt(1, GradientBottom);
    painter.fillRect(QRect(0, 0, width(), height()), gradient);
    QDialog::paintEvent(event);
}

void TSensorTestDlg::closeEvent(QCloseEvent* event) {
    TestRunning = false;
    event->ignore();
}
