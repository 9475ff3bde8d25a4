#include <QHBoxLayout>
#include <QPushButton>

#include "params/pages/PageControls.h"
#include "ui/controls/PageParts.h"

namespace params {

void ExpertSettings2Controls::build(QWidget& page) {
    ReadFactoryButton = makeButton(QStringLiteral("ReadFactoryButton"), page);
    WriteFactoryButton = makeButton(QStringLiteral("WriteFactoryButton"), page);
    auto* layout = new QHBoxLayout(&page);
    layout->addLayout(column({ReadFactoryButton, WriteFactoryButton}));
    layout->addStretch();
}

}  // namespace params
