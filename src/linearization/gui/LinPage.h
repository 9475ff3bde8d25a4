#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "linearization/gui/LinFileExport.h"
#include "linearization/gui/LinTexts.h"
#include "linearization/gui/Linearity.h"
#include "ui/AccessLevel.h"
#include "ui/controls/EditorContract.h"
#include "ui/controls/FieldColour.h"

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

    void ReadLinValueClick();
    void WriteLinValueClick();
    void AdresLabelChange();
    void ValueLabelChange();
    void FactorLabelChange();
    void LinStartValueChange(const QString& text);
    void LinStartValueExit();
    void PrintLinFileClick();

    // Where the chart window takes the main window's sensor information from.
    void setSensorFields(std::function<SensorFields()> source) {
        sensorFields_ = std::move(source);
    }
    // Where the chart windows send their reports.
    void setReportSink(ReportSink print) { print_ = std::move(print); }

private:
    void connectHandlers();
    void showTable();
    void showStartValue();
    // The address in AdresLabel when it is an integer from 200 to 500; says
    // what is wrong otherwise.
    std::optional<int> enteredAddress();
    std::optional<int32_t> enteredInteger(const QString& text);
    void showEntry();
    void showFactor();
    void colourTableFields(FieldColour colour);
    void recordTableWrite(int address, bool written);
    void show(lintexts::Id message);

    MainState& state_;
    TSSICom& sensor_;
    EditorContract contract_;
    LinFileExport export_;
    std::function<SensorFields()> sensorFields_;
    ReportSink print_;
};

}  // namespace linearization
