#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

#include "app/MainControls.h"
#include "app/pages/PageParts.h"
#include "app/pages/Pages.h"

namespace {

void addRangePoint(QGridLayout& grid, int row, LabeledEdit* field, QPushButton* set,
                   QPushButton* remove) {
    field->setReadOnly(true);
    grid.addWidget(field, row, 0);
    grid.addWidget(set, row, 1);
    grid.addWidget(remove, row, 2);
}

QGridLayout* rangePoints(QWidget& page, MainControls& ui) {
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

void buildMeasurement2Page(QWidget& page, MainControls& ui) {
    ui.Siemens = makeCheck(QStringLiteral("Siemens"), page);
    ui.Temperature = makeCheck(QStringLiteral("Temperature"), page);
    ui.Linearisierung = makeCheck(QStringLiteral("Linearisierung"), page);
    ui.Extrapolation = makeCheck(QStringLiteral("Extrapolation"), page);
    ui.ExtrapolForward = makeCheck(QStringLiteral("ExtrapolForward"), page);
    ui.TempComp = makeCheck(QStringLiteral("TempComp"), page);
    ui.TempComp->hide();

    auto* layout = new QHBoxLayout(&page);
    layout->addLayout(column({ui.Siemens, ui.Temperature, ui.Linearisierung, ui.Extrapolation,
                              ui.ExtrapolForward, ui.TempComp}),
                      1);
    layout->addLayout(rangePoints(page, ui), 1);
}
