#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/MainControls.h"
#include "app/pages/PageParts.h"
#include "app/pages/Pages.h"

void buildMeasurementPage(QWidget& page, MainControls& ui) {
    ui.FilterS = makeChoice(QStringLiteral("FilterS"), page);
    ui.Direction = makeChoice(QStringLiteral("Direction"), page);
    ui.PosDifVel = makeChoice(QStringLiteral("PosDifVel"), page);
    ui.Resolution = makeEdit(QStringLiteral("Resolution"), page);
    ui.Offset = makeEdit(QStringLiteral("Offset"), page);
    ui.OriginLabel = makeNamed<QLabel>(QStringLiteral("OriginLabel"), page);
    ui.OriginButton = makeButton(QStringLiteral("OriginButton"), page);
    ui.SlowAvarageFilter = makeCheck(QStringLiteral("SlowAvarageFilter"), page);
    ui.SlowAvarageFilter->hide();
    // Runs from the resolution field only; never shown.
    ui._05um = makeButton(QStringLiteral("_05um"), page, QStringLiteral("0.5 µm"));
    ui._05um->hide();

    auto* origin = new QHBoxLayout;
    origin->addWidget(ui.OriginLabel, 1);
    origin->addWidget(ui.OriginButton);

    auto* fields = new QVBoxLayout;
    fields->addWidget(ui.Resolution);
    fields->addWidget(ui.Offset);
    fields->addLayout(origin);
    fields->addWidget(ui.SlowAvarageFilter);
    fields->addStretch();

    auto* layout = new QHBoxLayout(&page);
    layout->addLayout(column({ui.FilterS, ui.Direction}), 2);
    layout->addLayout(column({ui.PosDifVel}), 2);
    layout->addLayout(fields, 3);
}
