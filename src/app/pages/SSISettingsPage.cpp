#include <QCheckBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/MainControls.h"
#include "app/pages/PageParts.h"
#include "app/pages/Pages.h"

void buildSSISettingsPage(QWidget& page, MainControls& ui) {
    ui.CodingGroup = makeChoice(QStringLiteral("CodingGroup"), page);
    ui.Mode = makeChoice(QStringLiteral("Mode"), page);
    ui.BitWidth = makeEdit(QStringLiteral("BitWidth"), page);
    ui.UARTWrites = makeEdit(QStringLiteral("UARTWrites"), page);
    ui.JitterWindow = makeEdit(QStringLiteral("JitterWindow"), page);
    ui.SSI_Abstand = makeDisplay(QStringLiteral("SSI_Abstand"), page);
    ui.SSI_Start_CheckBox = makeCheck(QStringLiteral("SSI_Start_CheckBox"), page);
    ui.SSI_Abstand->hide();
    ui.SSI_Start_CheckBox->hide();

    ui.ControlSettings = makeNamed<QCheckBox>(QStringLiteral("ControlSettings"), page);
    ui.ControlSettings->hide();

    auto* layout = new QHBoxLayout(&page);
    layout->addLayout(column({ui.CodingGroup, ui.Mode}), 2);
    layout->addLayout(column({ui.BitWidth, ui.UARTWrites, ui.JitterWindow, ui.SSI_Abstand,
                              ui.SSI_Start_CheckBox}),
                      3);
}
