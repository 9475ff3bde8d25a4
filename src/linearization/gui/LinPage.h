#pragma once

#include "ui/AccessLevel.h"

class LabeledEdit;
class MainState;
class PageControl;
class QProgressBar;
class QPushButton;
class QWidget;
class TSSICom;

namespace linearization {

// The controls of the linearization page, named as their objectName.
struct LinPageControls {
    LabeledEdit* LinStartValue = nullptr;
    LabeledEdit* AdresLabel = nullptr;
    LabeledEdit* ValueLabel = nullptr;
    LabeledEdit* FactorLabel = nullptr;
    QPushButton* ReadLinValue = nullptr;
    QPushButton* WriteLinValue = nullptr;
    QPushButton* WriteLinFile = nullptr;
    QPushButton* PrintLinFile = nullptr;
    QProgressBar* CGauge1 = nullptr;

    void build(QWidget& page);
};

// The linearization page: the table entry at an address, the factor and the
// start value.
class LinPage {
public:
    LinPage(PageControl& pages, MainState& state, TSSICom& sensor);

    LinPageControls ui;

    // The page's share of the refresh: reads the entry at the address shown and
    // the factor, and tells the state which wording the linearization box takes.
    void Refresh();
    void ApplyAccessLevel(TAccessLevel level);

private:
    void showTable();
    void showStartValue();

    MainState& state_;
    TSSICom& sensor_;
};

}  // namespace linearization
