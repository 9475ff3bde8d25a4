#include <QGridLayout>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/MainControls.h"
#include "app/pages/PageParts.h"
#include "app/pages/Pages.h"

namespace {

QGridLayout* entryFields(QWidget& page, MainControls& ui) {
    ui.LinStartValue = makeDisplay(QStringLiteral("LinStartValue"), page);
    ui.FactorLabel = makeEdit(QStringLiteral("FactorLabel"), page);
    ui.FactorLabel->setReadOnly(true);
    ui.AdresLabel = makeEdit(QStringLiteral("AdresLabel"), page);
    ui.ValueLabel = makeEdit(QStringLiteral("ValueLabel"), page);
    ui.ReadLinValue = makeButton(QStringLiteral("ReadLinValue"), page);
    ui.WriteLinValue = makeButton(QStringLiteral("WriteLinValue"), page);
    ui.WriteLinValue->setEnabled(false);

    auto* grid = new QGridLayout;
    grid->addWidget(ui.LinStartValue, 0, 0);
    grid->addWidget(ui.FactorLabel, 1, 0);
    grid->addWidget(ui.AdresLabel, 2, 0);
    grid->addWidget(ui.ReadLinValue, 2, 1);
    grid->addWidget(ui.ValueLabel, 3, 0);
    grid->addWidget(ui.WriteLinValue, 3, 1);
    return grid;
}

}  // namespace

void buildLinPage(QWidget& page, MainControls& ui) {
    ui.WriteLinFile = makeButton(QStringLiteral("WriteLinFile"), page);
    ui.PrintLinFile = makeButton(QStringLiteral("PrintLinFile"), page);
    ui.CGauge1 = makeNamed<QProgressBar>(QStringLiteral("CGauge1"), page);
    ui.CGauge1->setRange(0, 300);
    ui.CGauge1->setValue(0);

    auto* files = new QHBoxLayout;
    files->addWidget(ui.WriteLinFile);
    files->addWidget(ui.PrintLinFile);
    files->addStretch();

    auto* layout = new QVBoxLayout(&page);
    auto* top = new QHBoxLayout;
    top->addLayout(entryFields(page, ui));
    top->addStretch();
    layout->addLayout(top);
    layout->addStretch();
    layout->addLayout(files);
    layout->addWidget(ui.CGauge1);
}
