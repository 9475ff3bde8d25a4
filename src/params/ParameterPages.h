#pragma once

#include <cstdint>
#include <memory>

#include <QMetaObject>

#include "params/pages/PageControls.h"
#include "ui/AccessLevel.h"

class EditorContract;
class MainState;
class PageControl;
class QWidget;
class TSSICom;

namespace params {

class EepromUpdate;
class ErrorIndicationEditors;
class ExpertEditors;
class FactorySettings;
class LengthEditor;
class MeasurementEditors;
class NewOrigin;
class OffsetEditor;
class RangePoints;
class SsiOutputEditors;

// The parameter pages and the sensor information box: built on the main
// window's pages, refreshed from the sensor's set, edited through their editors.
class ParameterPages {
public:
    // Builds the pages on `pages` (which already hold them by name) and the
    // sensor information box with the EEPROM update button on `infoParent`.
    ParameterPages(PageControl& pages, QWidget& infoParent, MainState& state, TSSICom& sensor);
    ~ParameterPages();

    PageControls ui;
    std::unique_ptr<EditorContract> Contract;
    std::unique_ptr<RangePoints> Range;
    std::unique_ptr<SsiOutputEditors> SsiOutput;
    std::unique_ptr<ErrorIndicationEditors> ErrorIndication;
    std::unique_ptr<EepromUpdate> Eeprom;
    std::unique_ptr<OffsetEditor> Offset;
    std::unique_ptr<LengthEditor> Length;
    std::unique_ptr<MeasurementEditors> Measurement;
    std::unique_ptr<NewOrigin> Origin;
    std::unique_ptr<ExpertEditors> Expert;
    std::unique_ptr<FactorySettings> Factory;

    // Applies the automatic corrections, then shows the set.
    void Refresh();
    void ApplyAccessLevel(TAccessLevel level);
    void ShowParametersChanged(bool changed);
    void ShowOperatingTime(uint32_t minutes);
    // True when the model choice shows KH or KP.
    bool KModelChosen() const;

private:
    void buildEditors();
    void connectButtons();
    void watchPageExit(PageControl& pages);

    MainState& state_;
    TSSICom& sensor_;
    // The page control outlives the editors, so the watch ends with them.
    QMetaObject::Connection pageExitWatch_;
};

}  // namespace params
