#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "params/pages/PageControls.h"
#include "ui/controls/PageParts.h"

namespace params {

void MeasurementControls::build(QWidget& page) {
    FilterS = makeChoice(QStringLiteral("FilterS"), page);
    Direction = makeChoice(QStringLiteral("Direction"), page);
    PosDifVel = makeChoice(QStringLiteral("PosDifVel"), page);
    Resolution = makeEdit(QStringLiteral("Resolution"), page);
    Offset = makeEdit(QStringLiteral("Offset"), page);
    OriginLabel = makeNamed<QLabel>(QStringLiteral("OriginLabel"), page);
    OriginButton = makeButton(QStringLiteral("OriginButton"), page);
    SlowAvarageFilter = makeCheck(QStringLiteral("SlowAvarageFilter"), page);
    SlowAvarageFilter->hide();
    // Runs from the resolution field only; never shown.
    _05um = makeButton(QStringLiteral("_05um"), page, QStringLiteral("0.5 µm"));
    _05um->hide();

    auto* origin = new QHBoxLayout;
    origin->addWidget(OriginLabel, 1);
    origin->addWidget(OriginButton);

    auto* fields = new QVBoxLayout;
    fields->addWidget(Resolution);
    fields->addWidget(Offset);
    fields->addLayout(origin);
    fields->addWidget(SlowAvarageFilter);
    fields->addStretch();

    auto* layout = new QHBoxLayout(&page);
    layout->addLayout(column({FilterS, Direction}), 2);
    layout->addLayout(column({PosDifVel}), 2);
    layout->addLayout(fields, 3);
}

void MeasurementControls::applyAccessLevel(TAccessLevel level) {
    SlowAvarageFilter->setVisible(level != TAccessLevel::User);
}

}  // namespace params
