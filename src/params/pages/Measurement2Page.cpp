#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

#include "params/pages/PageControls.h"
#include "ui/controls/PageParts.h"

namespace params {

namespace {

void addRangePoint(QGridLayout& grid, int row, LabeledEdit* field, QPushButton* set,
                   QPushButton* remove) {
    field->setReadOnly(true);
    grid.addWidget(field, row, 0);
    grid.addWidget(set, row, 1);
    grid.addWidget(remove, row, 2);
}

QGridLayout* rangePoints(QWidget& page, Measurement2Controls& ui) {
    ui.StartPoint = makeEdit(QStringLiteral("StartPoint"), page);
    ui.EndPoint = makeEdit(QStringLiteral("EndPoint"), page);
    ui.SetStartPoint = makeButton(QStringLiteral("SetStartPoint"), page);
    ui.DelStartPoint = makeButton(QStringLiteral("DelStartPoint"), page);
    ui.SetEndPoint = makeButton(QStringLiteral("SetEndPoint"), page);
    ui.DelEndPoint = makeButton(QStringLiteral("DelEndPoint"), page);
    auto* grid = new QGridLayout;
    addRangePoint(*grid, 0, ui.StartPoint, ui.SetStartPoint, ui.DelStartPoint);
    addRangePoint(*grid, 1, ui.EndPoint, ui.SetEndPoint, ui.DelEndPoint);
    grid->setRowStretch(2, 1);
    return grid;
}

}  // namespace

void Measurement2Controls::build(QWidget& page) {
    Siemens = makeCheck(QStringLiteral("Siemens"), page);
    Temperature = makeCheck(QStringLiteral("Temperature"), page);
    Linearisierung = makeCheck(QStringLiteral("Linearisierung"), page);
    Extrapolation = makeCheck(QStringLiteral("Extrapolation"), page);
    ExtrapolForward = makeCheck(QStringLiteral("ExtrapolForward"), page);
    TempComp = makeCheck(QStringLiteral("TempComp"), page);
    TempComp->hide();

    auto* layout = new QHBoxLayout(&page);
    layout->addLayout(
        column({Siemens, Temperature, Linearisierung, Extrapolation, ExtrapolForward, TempComp}),
        1);
    layout->addLayout(rangePoints(page, *this), 1);
}

void Measurement2Controls::applyAccessLevel(TAccessLevel level) {
    TempComp->setVisible(level == TAccessLevel::Developer);
}

}  // namespace params
