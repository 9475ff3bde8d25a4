#include <QHBoxLayout>
#include <QPushButton>

#include "app/MainControls.h"
#include "app/pages/PageParts.h"
#include "app/pages/Pages.h"

void buildExpertSettings2Page(QWidget& page, MainControls& ui) {
    ui.ReadFactoryButton = makeButton(QStringLiteral("ReadFactoryButton"), page);
    ui.WriteFactoryButton = makeButton(QStringLiteral("WriteFactoryButton"), page);
    auto* layout = new QHBoxLayout(&page);
    layout->addLayout(column({ui.ReadFactoryButton, ui.WriteFactoryButton}));
    layout->addStretch();
}
