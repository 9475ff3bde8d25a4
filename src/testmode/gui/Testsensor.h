#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QList>
#include <QPixmap>
#include <QPointF>
#include <cstdint>
#include <optional>

#include "testmode/AxisRange.h"
#include "testmode/SampleRecorder.h"
#include "testmode/SampleWindow.h"
#include "testmode/StreamDecoding.h"
#include "testmode/StreamStatistics.h"

class Dialogs;
class HistogramView;
class LabeledEdit;
class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QPushButton;
class QValueAxis;
class StatisticsPanel;

// The sensor test window: the latest position and temperature, and a rolling
// chart of the latest samples. Samples arrive at the stream's rate; the window
// shows them at display rate, its statistics and histogram a few times a second.
// It records the samples to a CSV file, pauses the chart, lets the user zoom and
// pan it and saves it as a picture.
class TSensorTestDlg : public QDialog {
    Q_OBJECT

public:
    // At most this often per second the chart shows new samples: smooth enough
    // for a chart that rolls by a window of samples several times a second, and
    // the larger part of the test's CPU time goes into each redraw.
    static constexpr int RedrawsPerSecond = 30;
    // The value's text follows this often: a text that changes faster cannot be
    // read, and laying it out costs as much as drawing the chart.
    static constexpr int ValueUpdatesPerSecond = 15;
    // The statistics, the histogram and the recording's file follow this often.
    static constexpr int PanelUpdatesPerSecond = 5;

    TSensorTestDlg(uint8_t uiLanguage, bool halfMicrometres, const QPixmap& logo, Dialogs& dialogs,
                   QWidget* parent = nullptr);
    ~TSensorTestDlg() override;

    bool TestRunning = true;

    QChartView* Diagramm = nullptr;
    QChart* chart = nullptr;
    QLineSeries* Series2 = nullptr;
    QValueAxis* axisX = nullptr;
    QValueAxis* axisY = nullptr;
    LabeledEdit* Value = nullptr;
    QLabel* ValueUnit = nullptr;
    LabeledEdit* Temperature = nullptr;
    QPushButton* Quit = nullptr;
    QLabel* corvalinearLabel = nullptr;
    QLabel* kyrLogo = nullptr;
    QPushButton* StatisticsButton = nullptr;
    QPushButton* HistogramButton = nullptr;
    QPushButton* PauseButton = nullptr;
    QPushButton* RecordButton = nullptr;
    QPushButton* SaveChartButton = nullptr;
    QLabel* RecordingLabel = nullptr;
    StatisticsPanel* Statistics = nullptr;
    HistogramView* Histogram = nullptr;

    void QuitClick();
    void SetWireBlocksPerSecond(double rate) { wireRate_ = rate; }
    // Keeps one decoded sample for the next redraw, counts it and records it.
    void AddReading(const testmode::Reading& reading);
    // Redraws the chart when samples came since the last redraw and a display
    // frame has passed, and shows the value and the panels when their turn has come.
    void RedrawIfDue();
    // The chart and the latest value at once.
    void Redraw();
    // Shows the statistics and the histogram and writes the recording's file.
    void UpdatePanels();
    // No more samples come: the recording's file is written to its last sample.
    void StreamEnded();
    int RedrawCount() const { return redraws_; }
    bool ChartFrozen() const { return paused_ || !following_; }
    const testmode::StreamStatistics& StreamStatistics() const { return statistics_; }
    const testmode::SampleRecorder& Recorder() const { return recorder_; }

    void RecordClick();
    void SaveChartClick();
    void FollowAgain();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildChart();
    void buildControls(const QPixmap& logo);
    void buildInstrument();
    QPushButton* addButton(const QString& name, bool checkable);
    void applyTexts(uint8_t uiLanguage, bool halfMicrometres);
    void layoutControls();
    void layoutInstrument();
    void redrawChart();
    void showValue();
    void drawSeries();
    void followAxes();
    void showRecording();
    void placeRecordingLabel();
    void reportRecordingStopped();

    Dialogs& dialogs_;
    uint8_t uiLanguage_;
    testmode::SampleWindow window_;
    testmode::AxisRange axis_;
    bool halfMicrometres_;
    bool axisChanged_ = false;
    std::optional<testmode::Sample> latest_;
    QElapsedTimer sinceRedraw_;
    QElapsedTimer sinceValue_;
    QElapsedTimer sincePanels_;
    int redraws_ = 0;
    testmode::StreamStatistics statistics_;
    testmode::SampleRecorder recorder_;
    double wireRate_ = 0;
    bool paused_ = false;
    bool following_ = true;
    QList<QPointF> points_;
};
