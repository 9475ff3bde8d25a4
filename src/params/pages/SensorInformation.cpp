#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "params/pages/PageControls.h"
#include "ui/controls/PageParts.h"

namespace params {

namespace {

constexpr int UpdateButtonHeight = 34;

void addInfoRow(QGridLayout& grid, int row, QLabel* caption, QLabel* value) {
    grid.addWidget(caption, row, 0);
    grid.addWidget(value, row, 1);
}

}  // namespace

// Rows in reading order; the captions' names do not follow the values' names
// for the factory number and the ultrasonic speed.
void SensorInformationControls::build(QWidget& parent) {
    SensorInformation = makeNamed<QGroupBox>(QStringLiteral("SensorInformation"), parent);
    QLabel** captions[] = {&Label1, &Label2, &Label3, &Label4, &Label5, &Label6};
    QLabel** values[] = {&InfoLabel1, &InfoLabel2, &InfoLabel3,
                         &InfoLabel4, &InfoLabel5, &InfoLabel6};
    for (int i = 0; i < 6; ++i) {
        *captions[i] = makeNamed<QLabel>(QStringLiteral("Label%1").arg(i + 1), *SensorInformation);
        *values[i] =
            makeNamed<QLabel>(QStringLiteral("InfoLabel%1").arg(i + 1), *SensorInformation);
    }
    auto* grid = new QGridLayout(SensorInformation);
    grid->setVerticalSpacing(3);
    addInfoRow(*grid, 0, Label1, InfoLabel1);
    addInfoRow(*grid, 1, Label2, InfoLabel2);
    addInfoRow(*grid, 2, Label4, InfoLabel3);
    addInfoRow(*grid, 3, Label3, InfoLabel4);
    addInfoRow(*grid, 4, Label5, InfoLabel5);
    addInfoRow(*grid, 5, Label6, InfoLabel6);
    grid->setColumnStretch(1, 1);

    EEPROMUpdateButton = makeButton(QStringLiteral("EEPROMUpdateButton"), parent,
                                    QStringLiteral("Update Sensor!!!"));
    EEPROMUpdateButton->setMinimumHeight(UpdateButtonHeight);
}

}  // namespace params
