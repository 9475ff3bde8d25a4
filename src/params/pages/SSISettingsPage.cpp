#include <QHBoxLayout>
#include <QVBoxLayout>

#include "params/pages/PageControls.h"
#include "ui/controls/PageParts.h"

namespace params {

void SSISettingsControls::build(QWidget& page) {
    CodingGroup = makeChoice(QStringLiteral("CodingGroup"), page);
    Mode = makeChoice(QStringLiteral("Mode"), page);
    BitWidth = makeEdit(QStringLiteral("BitWidth"), page);
    UARTWrites = makeEdit(QStringLiteral("UARTWrites"), page);
    JitterWindow = makeEdit(QStringLiteral("JitterWindow"), page);
    SSI_Abstand = makeDisplay(QStringLiteral("SSI_Abstand"), page);
    SSI_Start_CheckBox = makeCheck(QStringLiteral("SSI_Start_CheckBox"), page);
    SSI_Abstand->hide();
    SSI_Start_CheckBox->hide();

    auto* layout = new QHBoxLayout(&page);
    layout->addLayout(column({CodingGroup, Mode}), 2);
    layout->addLayout(column({BitWidth, UARTWrites, JitterWindow, SSI_Abstand, SSI_Start_CheckBox}),
                      3);
}

void SSISettingsControls::applyAccessLevel(TAccessLevel level) {
    const bool developer = level == TAccessLevel::Developer;
    SSI_Start_CheckBox->setVisible(developer);
    SSI_Abstand->setVisible(developer);
}

}  // namespace params
