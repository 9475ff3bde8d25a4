#include "testmode/gui/StatisticsPanel.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "testmode/gui/TestTexts.h"

namespace {

using testtexts::Id;

constexpr Id RowTexts[] = {Id::Mean,    Id::Deviation,  Id::PeakToPeak,  Id::Minimum,
                           Id::Maximum, Id::SampleRate, Id::ErrorValues, Id::Undecoded};

QString textOf(uint8_t uiLanguage, Id id) {
    return pick(uiLanguage, testtexts::text(id)).value_or(QString());
}

QString number(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

QString millimetres(double mm) {
    return QString::fromStdString(testmode::MillimetreText(mm));
}

}  // namespace

StatisticsPanel::StatisticsPanel(uint8_t uiLanguage, QWidget* parent)
    : QFrame(parent), uiLanguage_(uiLanguage) {
    setObjectName(QStringLiteral("StatisticsPanel"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setVerticalSpacing(1);
    grid->setHorizontalSpacing(16);
    grid->addWidget(
        new QLabel(textOf(uiLanguage, Id::WindowColumn).arg(testmode::WindowStatistics::Capacity),
                   this),
        0, 1, Qt::AlignRight);
    grid->addWidget(new QLabel(textOf(uiLanguage, Id::SinceStartColumn), this), 0, 2,
                    Qt::AlignRight);
    constexpr int RowsPerColumn = Rows / 2;
    for (int row = 0; row < Rows; ++row) {
        const int gridRow = 1 + row % RowsPerColumn;
        const int gridColumn = row < RowsPerColumn ? 0 : 3;
        grid->addWidget(new QLabel(textOf(uiLanguage, RowTexts[row]), this), gridRow, gridColumn);
        for (int column = 0; column < 2; ++column) {
            figures_[row][column] = new QLabel(QStringLiteral("-"), this);
            figures_[row][column]->setObjectName(
                QStringLiteral("figure%1_%2").arg(row).arg(column));
            grid->addWidget(figures_[row][column], gridRow, gridColumn + 1 + column,
                            Qt::AlignRight);
        }
    }
    grid->addWidget(
        new QLabel(textOf(uiLanguage, Id::WindowColumn).arg(testmode::WindowStatistics::Capacity),
                   this),
        0, 4, Qt::AlignRight);
    grid->addWidget(new QLabel(textOf(uiLanguage, Id::SinceStartColumn), this), 0, 5,
                    Qt::AlignRight);
    wire_ = new QLabel(this);
    wire_->setObjectName(QStringLiteral("wireRate"));
    grid->addWidget(wire_, 0, 6);
    Reset = new QPushButton(textOf(uiLanguage, Id::Reset), this);
    Reset->setObjectName(QStringLiteral("Reset"));
    grid->addWidget(Reset, RowsPerColumn, 6);
}

void StatisticsPanel::Show(const testmode::StreamStatistics& statistics, double wireRate) {
    showColumn(0, statistics.Window());
    showColumn(1, statistics.SinceStart());
    wire_->setText(textOf(uiLanguage_, Id::WireRate).arg(number(wireRate, 1)));
}

QString StatisticsPanel::Figure(int row, int column) const {
    return figures_.at(size_t(row)).at(size_t(column))->text();
}

void StatisticsPanel::showColumn(int column, const testmode::Figures& f) {
    const bool known = f.positions > 0;
    const QString none = QStringLiteral("-");
    const QString texts[Rows] = {
        known ? number(f.meanUm, 1) : none,       known ? number(f.deviationUm, 2) : none,
        known ? number(f.peakToPeakUm, 1) : none, known ? millimetres(f.minimumMm) : none,
        known ? millimetres(f.maximumMm) : none,  number(f.samplesPerSecond, 1),
        QString::number(f.errors.errorValues),    QString::number(f.errors.undecoded),
    };
    for (int row = 0; row < Rows; ++row) {
        figures_[size_t(row)][size_t(column)]->setText(texts[row]);
    }
}
