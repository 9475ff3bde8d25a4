#include "app/AccessLevel.h"

#include "app/MainControls.h"
#include "settings/Settings.h"
#include "app/controls/CheckBox.h"
#include "app/controls/LabeledEdit.h"
#include "app/controls/PageControl.h"

#include <QLabel>
#include <QPushButton>

TAccessLevel lookUpAccessLevel(const SettingsStore& settings) {
    if (settings.hasSubkey(SettingsStore::FactoryKey))
        return TAccessLevel::User;
    const QString key = settings.readText(SettingsStore::FactoryKey);
    if (key == FactoryCode)
        return TAccessLevel::Factory;
    if (key == DeveloperCode)
        return TAccessLevel::Developer;
    return TAccessLevel::User;
}

void applyAccessLevel(MainControls& ui, TAccessLevel level) {
    const bool factory = level != TAccessLevel::User;
    const bool developer = level == TAccessLevel::Developer;

    ui.ParameterPage->setPageTabVisible(QStringLiteral("ExpertSettings"), factory);
    ui.ParameterPage->setPageTabVisible(QStringLiteral("ExpertSettings2"), factory);
    ui.ParameterPage->setPageTabVisible(QStringLiteral("Firmware"), factory);
    ui.SlowAvarageFilter->setVisible(factory);

    ui.SSI_Start_CheckBox->setVisible(developer);
    ui.SSI_Abstand->setVisible(developer);
    ui.Label7->setVisible(developer);
    for (LabeledEdit* field :
         {ui.OpTimeYears, ui.OpTimeMonth, ui.OpTimeDays, ui.OpTimeHours, ui.OpTimeMinutes}) {
        field->setVisible(developer);
    }
    ui.TempComp->setVisible(developer);
    ui.Q_SERIE->setVisible(developer);
    ui.FactorLabel->setReadOnly(!developer);
}
