#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QPixmap>
#include <cstdint>
#include <optional>

#include "testmode/AxisRange.h"
#include "testmode/SampleWindow.h"
#include "testmode/StreamDecoding.h"

class LabeledEdit;
class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QPushButton;
class QValueAxis;

// The sensor test window: the latest position and temperature, and a rolling
// chart of the latest samples. Samples arrive at the stream's rate; the window
// shows them at display rate.
class TSensorTestDlg : public QDialog {
    Q_OBJECT

public:
    // At most this often per second the window shows new samples.
    static constexpr int RedrawsPerSecond = 60;

    TSensorTestDlg(uint8_t uiLanguage, bool halfMicrometres, const QPixmap& logo,
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

    void QuitClick();
    // Keeps one decoded sample for the next redraw.
    void AddSample(const testmode::Sample& sample);
    // Redraws when samples came since the last redraw and a display frame has passed.
    void RedrawIfDue();
    void Redraw();
    int RedrawCount() const { return redraws_; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildChart();
    void buildControls(const QPixmap& logo);
    void applyTexts(uint8_t uiLanguage, bool halfMicrometres);
    void layoutControls();

    testmode::SampleWindow window_;
    testmode::AxisRange axis_;
    bool halfMicrometres_;
    bool axisChanged_ = false;
    std::optional<testmode::Sample> latest_;
    QElapsedTimer sinceRedraw_;
    int redraws_ = 0;
};
