#pragma once

#include <optional>

#include "files/ParameterFile.h"
#include "files/gui/SpeedFieldsAfterLoad.h"

class MainState;
class PageControl;
class QString;
class TSSICom;

namespace files {

// Loads a parameter file into the sensor: reads and checks the file, asks for
// confirmation, writes the set, and lets the scale follow the sensor's own
// ultrasonic speed.
class LoadParameters {
public:
    LoadParameters(MainState& state, TSSICom& sensor, PageControl& parameterPage,
                   SpeedFields speedFields)
        : state_(state), sensor_(sensor), parameterPage_(parameterPage), speed_(speedFields) {}

    void Run();

private:
    std::optional<ParameterFile> readFile(const QString& path);
    bool confirm(const ParameterFile& file);
    void load(const ParameterFile& file);
    void finishLoad();
    void failLoad();

    MainState& state_;
    TSSICom& sensor_;
    PageControl& parameterPage_;
    SpeedFields speed_;
};

}  // namespace files
