#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "comm/SensorRules.h"
#include "params/pages/PageControls.h"
#include "ui/controls/PageParts.h"

namespace params {

namespace {

constexpr int ChargepumpThreeStageHeight = 84;

QVBoxLayout* expertFields(QWidget& page, ExpertSettingsControls& ui) {
    ui.FactoryNumber = makeEdit(QStringLiteral("FactoryNumber"), page);
    ui.Length = makeEdit(QStringLiteral("Length"), page);
    ui.UltrasonicSpeed = makeEdit(QStringLiteral("UltrasonicSpeed"), page);
    ui.Scale = makeDisplay(QStringLiteral("Scale"), page);
    ui.CycleTime = makeEdit(QStringLiteral("CycleTime"), page);
    ui.SyncTiming = makeEdit(QStringLiteral("SyncTiming"), page);
    ui.MonoflopTime = makeEdit(QStringLiteral("MonoflopTime"), page);
    ui.Blanking = makeEdit(QStringLiteral("Blanking"), page);
    ui.Blanking->setMaxLength(3);
    return column({ui.FactoryNumber, ui.Length, ui.UltrasonicSpeed, ui.Scale, ui.CycleTime,
                   ui.SyncTiming, ui.MonoflopTime, ui.Blanking});
}

QVBoxLayout* expertChoices(QWidget& page, ExpertSettingsControls& ui) {
    ui.ChargepumpStages = makeChoice(QStringLiteral("ChargepumpStages"), page);
    ui.ChargepumpStages->setFixedHeight(ChargepumpThreeStageHeight);
    ui.Model = makeChoice(QStringLiteral("Model"), page);
    ui.Model->setColumns(4);
    ui.Q_SERIE = makeButton(QStringLiteral("Q_SERIE"), page, QStringLiteral("Q-Series"));
    ui.Q_SERIE->hide();
    return column({ui.ChargepumpStages, ui.Model, ui.Q_SERIE});
}

}  // namespace

void ExpertSettingsControls::build(QWidget& page) {
    auto* layout = new QHBoxLayout(&page);
    layout->addLayout(expertFields(page, *this), 3);
    layout->addLayout(expertChoices(page, *this), 2);
}

void ExpertSettingsControls::applyAccessLevel(TAccessLevel level) {
    Q_SERIE->setVisible(level == TAccessLevel::Developer);
}

bool ExpertSettingsControls::KModelChosen() const {
    return rules::IsKModelItem(Model->itemIndex());
}

}  // namespace params
