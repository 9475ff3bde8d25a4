#pragma once

#include <functional>
#include <optional>
#include <string>

#include "files/ParameterFile.h"

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
                   std::function<void()> speedEntered)
        : state_(state),
          sensor_(sensor),
          parameterPage_(parameterPage),
          speedEntered_(std::move(speedEntered)) {}

    void Run();
    // Asks for confirmation and loads the file; the history names it `subject`.
    void Offer(const ParameterFile& file, const std::string& subject);

private:
    std::optional<ParameterFile> readFile(const QString& path);
    bool confirm(const ParameterFile& file);
    void load(const ParameterFile& file, const std::string& subject);
    void finishLoad();
    void failLoad();

    MainState& state_;
    TSSICom& sensor_;
    PageControl& parameterPage_;
    std::function<void()> speedEntered_;
};

}  // namespace files
