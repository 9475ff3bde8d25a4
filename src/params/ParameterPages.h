#pragma once

#include <cstdint>

#include "params/pages/PageControls.h"
#include "ui/AccessLevel.h"

class MainState;
class PageControl;
class QWidget;
class TSSICom;

namespace params {

// The parameter pages and the sensor information box: built on the main
// window's pages, refreshed from the sensor's set.
class ParameterPages {
public:
    // Builds the pages on `pages` (which already hold them by name) and the
    // sensor information box with the EEPROM update button on `infoParent`.
    ParameterPages(PageControl& pages, QWidget& infoParent, MainState& state, TSSICom& sensor);

    PageControls ui;

    // Applies the automatic corrections, then shows the set.
    void Refresh();
    void ApplyAccessLevel(TAccessLevel level);
    void ShowParametersChanged(bool changed);
    void ShowOperatingTime(uint32_t minutes);
    // True when the model choice shows KH or KP.
    bool KModelChosen() const;

private:
    MainState& state_;
    TSSICom& sensor_;
};

}  // namespace params
