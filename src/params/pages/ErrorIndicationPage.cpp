#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "params/pages/PageControls.h"
#include "ui/controls/PageParts.h"

namespace params {

namespace {

LabeledEdit* makeOpTimeField(QWidget& page, const QString& name) {
    LabeledEdit* field = makeDisplay(name, page);
    field->setFieldWidth(44);
    field->hide();
    return field;
}

// The operating-time counter, filled by the poll.
QGridLayout* operatingTime(QWidget& page, ErrorIndicationControls& ui) {
    ui.Label7 = makeNamed<QLabel>(QStringLiteral("Label7"), page);
    ui.Label7->hide();
    ui.OpTimeYears = makeOpTimeField(page, QStringLiteral("OpTimeYears"));
    ui.OpTimeMonth = makeOpTimeField(page, QStringLiteral("OpTimeMonth"));
    ui.OpTimeDays = makeOpTimeField(page, QStringLiteral("OpTimeDays"));
    ui.OpTimeHours = makeOpTimeField(page, QStringLiteral("OpTimeHours"));
    ui.OpTimeMinutes = makeOpTimeField(page, QStringLiteral("OpTimeMinutes"));

    auto* grid = new QGridLayout;
    grid->addWidget(ui.Label7, 0, 0, 1, 3);
    grid->addWidget(ui.OpTimeYears, 1, 0);
    grid->addWidget(ui.OpTimeMonth, 1, 1);
    grid->addWidget(ui.OpTimeDays, 1, 2);
    grid->addWidget(ui.OpTimeHours, 2, 0);
    grid->addWidget(ui.OpTimeMinutes, 2, 1);
    grid->setColumnStretch(3, 1);
    return grid;
}

}  // namespace

void ErrorIndicationControls::build(QWidget& page) {
    ErrorValue = makeEdit(QStringLiteral("ErrorValue"), page);
    ErrorCount = makeEdit(QStringLiteral("ErrorCount"), page);
    PowerFail = makeEdit(QStringLiteral("PowerFail"), page);
    ErrorValue2 = makeCheck(QStringLiteral("ErrorValue2"), page);

    auto* fields = new QVBoxLayout;
    fields->addWidget(ErrorValue);
    fields->addWidget(ErrorCount);
    fields->addWidget(PowerFail);
    fields->addSpacing(6);
    fields->addWidget(ErrorValue2);

    auto* top = new QHBoxLayout;
    top->addLayout(fields);
    top->addStretch();

    auto* layout = new QVBoxLayout(&page);
    layout->addLayout(top);
    layout->addSpacing(10);
    layout->addLayout(operatingTime(page, *this));
    layout->addStretch();
}

void ErrorIndicationControls::applyAccessLevel(TAccessLevel level) {
    const bool developer = level == TAccessLevel::Developer;
    Label7->setVisible(developer);
    for (LabeledEdit* field : {OpTimeYears, OpTimeMonth, OpTimeDays, OpTimeHours, OpTimeMinutes})
        field->setVisible(developer);
}

}  // namespace params
