#include "testmode/gui/Testsensor.h"

#include <algorithm>

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

#include "testmode/DeviationHistogram.h"
#include "testmode/gui/HistogramView.h"
#include "testmode/gui/StatisticsPanel.h"
#include "testmode/gui/TestChartView.h"
#include "testmode/gui/TestTexts.h"
#include "ui/Dialogs.h"
#include "ui/PairedMessage.h"
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
constexpr int ButtonWidth = 130;
constexpr int ButtonGap = 8;
constexpr int PanelTop = 6;
constexpr int PanelHeight = 116;
constexpr int InsetGap = 12;
constexpr int InsetParts = 3;  // the histogram takes a third of the chart's width

QString pickText(uint8_t uiLanguage, testtexts::Id id) {
    return pick(uiLanguage, testtexts::text(id)).value_or(QString());
}

QString bannerText() {
    return QStringLiteral(" Corvalinear%1 Position Output").arg(QChar(RegisteredSign));
}

}  // namespace

TSensorTestDlg::TSensorTestDlg(uint8_t uiLanguage, bool halfMicrometres, const QPixmap& logo,
                               Dialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      uiLanguage_(uiLanguage),
      halfMicrometres_(halfMicrometres),
      statistics_(halfMicrometres),
      recorder_(halfMicrometres) {
    setObjectName(QStringLiteral("TSensorTestDlg"));
    buildChart();
    buildControls(logo);
    buildInstrument();
    applyTexts(uiLanguage, halfMicrometres);
    sinceRedraw_.start();
    sinceValue_.start();
    sincePanels_.start();
}

TSensorTestDlg::~TSensorTestDlg() = default;

void TSensorTestDlg::buildChart() {
    chart = new QChart;
    chart->setBackgroundBrush(BannerColour);
    chart->legend()->hide();
    Series2 = new QLineSeries;
    QPen line(Qt::white);
    line.setCosmetic(true);
    Series2->setPen(line);
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
    auto* view = new TestChartView(chart, this);
    connect(view, &TestChartView::viewMoved, this, [this] { following_ = false; });
    connect(view, &TestChartView::followRequested, this, &TSensorTestDlg::FollowAgain);
    Diagramm = view;
    Diagramm->setObjectName(QStringLiteral("Diagramm"));
    Diagramm->setRenderHint(QPainter::Antialiasing, false);
}

void TSensorTestDlg::buildInstrument() {
    using testtexts::Id;
    Statistics = new StatisticsPanel(uiLanguage_, this);
    Statistics->hide();
    connect(Statistics->Reset, &QPushButton::clicked, this, [this] {
        statistics_.Reset();
        Statistics->Show(statistics_, wireRate_);
    });
    Histogram = new HistogramView(pickText(uiLanguage_, Id::HistogramTitle), this);
    Histogram->hide();
    StatisticsButton = addButton(QStringLiteral("StatisticsButton"), true);
    connect(StatisticsButton, &QPushButton::toggled, Statistics, &QWidget::setVisible);
    HistogramButton = addButton(QStringLiteral("HistogramButton"), true);
    connect(HistogramButton, &QPushButton::toggled, Histogram, &QWidget::setVisible);
    PauseButton = addButton(QStringLiteral("PauseButton"), true);
    connect(PauseButton, &QPushButton::toggled, this, [this](bool paused) {
        paused_ = paused;
        PauseButton->setText(pickText(uiLanguage_, paused ? Id::Resume : Id::Pause));
    });
    RecordButton = addButton(QStringLiteral("RecordButton"), false);
    connect(RecordButton, &QPushButton::clicked, this, &TSensorTestDlg::RecordClick);
    SaveChartButton = addButton(QStringLiteral("SaveChartButton"), false);
    connect(SaveChartButton, &QPushButton::clicked, this, &TSensorTestDlg::SaveChartClick);
    RecordingLabel = new QLabel(this);
    RecordingLabel->setObjectName(QStringLiteral("RecordingLabel"));
    QPalette onBanner = RecordingLabel->palette();
    onBanner.setColor(QPalette::WindowText, Qt::white);
    RecordingLabel->setPalette(onBanner);
}

QPushButton* TSensorTestDlg::addButton(const QString& name, bool checkable) {
    auto* button = new QPushButton(this);
    button->setObjectName(name);
    button->setCheckable(checkable);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
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
    StatisticsButton->setText(pickText(uiLanguage, Id::Statistics));
    HistogramButton->setText(pickText(uiLanguage, Id::Histogram));
    PauseButton->setText(pickText(uiLanguage, Id::Pause));
    RecordButton->setText(pickText(uiLanguage, Id::Record));
    SaveChartButton->setText(pickText(uiLanguage, Id::SaveChart));
}

void TSensorTestDlg::QuitClick() {
    TestRunning = false;
}

void TSensorTestDlg::AddReading(const testmode::Reading& reading) {
    const int32_t position = reading.sample.position;
    window_.Add(position);
    axisChanged_ = axis_.Follow(position) || axisChanged_;
    latest_ = reading.sample;
    statistics_.Add(testmode::Timed(reading));
    recorder_.Add(reading);
}

void TSensorTestDlg::RedrawIfDue() {
    if (latest_ && sinceRedraw_.elapsed() >= 1000 / RedrawsPerSecond) {
        redrawChart();
    }
    if (latest_ && sinceValue_.elapsed() >= 1000 / ValueUpdatesPerSecond) {
        showValue();
    }
    if (sincePanels_.elapsed() >= 1000 / PanelUpdatesPerSecond) {
        UpdatePanels();
    }
}

void TSensorTestDlg::Redraw() {
    redrawChart();
    showValue();
}

void TSensorTestDlg::redrawChart() {
    if (!ChartFrozen()) {
        drawSeries();
        followAxes();
    }
    ++redraws_;
    sinceRedraw_.restart();
}

void TSensorTestDlg::showValue() {
    sinceValue_.restart();
    if (!latest_) {
        return;
    }
    const QChar separator = QLocale().decimalPoint().front();
    const double mm = testmode::Millimetres(latest_->position, halfMicrometres_);
    Value->setText(
        QString::fromStdString(testmode::MillimetreText(mm, char(separator.toLatin1()))));
    if (latest_->temperature) {
        Temperature->setText(QString::number(*latest_->temperature));
    }
    latest_.reset();
}

// The points stand at their place in the window, so that the X axis stays as
// it is: moving its range lays out every label again, which costs more than
// the whole rest of a redraw.
void TSensorTestDlg::drawSeries() {
    points_.resize(qsizetype(window_.Size()));
    for (size_t i = 0; i < window_.Size(); ++i) {
        points_[qsizetype(i)] = QPointF(double(i), double(window_.At(i).y));
    }
    Series2->replace(points_);
}

void TSensorTestDlg::followAxes() {
    axisX->setRange(0, double(testmode::SampleWindow::LastXBeforeRolling + 1));
    if (axisChanged_) {
        axisY->setRange(axis_.Minimum(), axis_.Maximum());
        axisChanged_ = false;
        CacheChartTexts(*chart, true);
    }
}

void TSensorTestDlg::FollowAgain() {
    following_ = true;
    chart->zoomReset();
    CacheChartTexts(*chart, true);
    axisChanged_ = axis_.Minimum() != testmode::AxisRange::UnsetMinimum;
    if (!paused_) {
        drawSeries();
        followAxes();
    }
}

void TSensorTestDlg::UpdatePanels() {
    sincePanels_.restart();
    if (Statistics->isVisible()) {
        Statistics->Show(statistics_, wireRate_);
    }
    if (Histogram->isVisible()) {
        Histogram->Show(testmode::DeviationHistogram(statistics_.window(), halfMicrometres_));
    }
    if (recorder_.Recording()) {
        recorder_.Flush();
    }
    if (recorder_.Recording() || !recorder_.Error().empty()) {
        showRecording();
    }
}

void TSensorTestDlg::StreamEnded() {
    recorder_.Flush();
    showRecording();
}

void TSensorTestDlg::RecordClick() {
    using testtexts::Id;
    if (recorder_.Recording()) {
        recorder_.Stop();
        showRecording();
        return;
    }
    const QString path = dialogs_.saveFileName({pickText(uiLanguage_, Id::RecordCaption),
                                                pickText(uiLanguage_, Id::CsvFilter),
                                                {},
                                                QStringLiteral("csv")});
    if (path.isEmpty()) {
        return;
    }
    recorder_.Start(path.toStdString());
    showRecording();
}

// A recording that ended without Stop failed to write.
// At the banner's right end, where the recording's count catches the eye.
void TSensorTestDlg::placeRecordingLabel() {
    RecordingLabel->adjustSize();
    RecordingLabel->move(corvalinearLabel->geometry().right() - RecordingLabel->width() - Margin,
                         corvalinearLabel->geometry().center().y() - RecordingLabel->height() / 2);
    RecordingLabel->raise();
}

void TSensorTestDlg::showRecording() {
    using testtexts::Id;
    const bool recording = recorder_.Recording();
    RecordButton->setText(pickText(uiLanguage_, recording ? Id::StopRecording : Id::Record));
    RecordingLabel->setText(recording || recorder_.Samples() > 0
                                ? pickText(uiLanguage_, Id::Recording).arg(recorder_.Samples())
                                : QString());
    placeRecordingLabel();
    if (!recording && !recorder_.Error().empty()) {
        reportRecordingStopped();
    }
}

void TSensorTestDlg::reportRecordingStopped() {
    const QString reason = QString::fromStdString(recorder_.Error());
    const QString path = QString::fromStdString(recorder_.Path());
    // Said once: the next recording starts without the old reason.
    recorder_.ForgetError();
    ShowPairedMessage(dialogs_, uiLanguage_, testtexts::recordingStopped(path, reason),
                      MessageButtons::Ok, MessageIcon::Warning);
}

void TSensorTestDlg::SaveChartClick() {
    using testtexts::Id;
    const QString path = dialogs_.saveFileName({pickText(uiLanguage_, Id::SaveChartCaption),
                                                pickText(uiLanguage_, Id::ImageFilter),
                                                {},
                                                QStringLiteral("png")});
    if (!path.isEmpty() && !SaveWidgetImage(*Diagramm, path)) {
        ShowPairedMessage(dialogs_, uiLanguage_, testtexts::chartNotSaved(path), MessageButtons::Ok,
                          MessageIcon::Warning);
    }
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
    layoutInstrument();
}

// The buttons stand left of Quit, the statistics above the banner, and the
// histogram in the chart's upper right corner.
void TSensorTestDlg::layoutInstrument() {
    int right = Quit->geometry().left() - ButtonGap;
    for (QPushButton* button :
         {SaveChartButton, RecordButton, PauseButton, HistogramButton, StatisticsButton}) {
        const int buttonWidth = std::max(ButtonWidth, button->sizeHint().width());
        button->setGeometry(right - buttonWidth, Quit->y(), buttonWidth, RowHeight);
        right -= buttonWidth + ButtonGap;
    }
    placeRecordingLabel();
    Statistics->setGeometry(Margin, PanelTop, kyrLogo->x() - 2 * Margin, PanelHeight);
    const QRect chartArea = Diagramm->geometry();
    const int insetWidth = chartArea.width() / InsetParts;
    const int insetHeight = chartArea.height() / 2;
    Histogram->setGeometry(chartArea.right() - insetWidth - InsetGap, chartArea.top() + InsetGap,
                           insetWidth, insetHeight);
    Histogram->raise();
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
