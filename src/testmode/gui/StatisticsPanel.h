#pragma once

#include <QFrame>
#include <array>
#include <cstdint>

#include "testmode/StreamStatistics.h"

class QLabel;
class QPushButton;

// The statistics of the chart's window and since the start, side by side,
// with the Reset button that starts the second column again.
class StatisticsPanel : public QFrame {
    Q_OBJECT

public:
    StatisticsPanel(uint8_t uiLanguage, QWidget* parent);

    void Show(const testmode::StreamStatistics& statistics, double wireRate);
    // The text shown for a row's figure, counted from the first row; column 0 is
    // the window, 1 since the start.
    QString Figure(int row, int column) const;

    QPushButton* Reset = nullptr;

private:
    static constexpr int Rows = 8;
    void showColumn(int column, const testmode::Figures& figures);

    std::array<std::array<QLabel*, 2>, Rows> figures_{};
    QLabel* wire_ = nullptr;
    uint8_t uiLanguage_;
};
