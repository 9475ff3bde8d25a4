#pragma once

#include <QString>
#include <functional>
#include <string>

#include "files/ParameterFile.h"

class MainState;
class PageControl;
class TSSICom;

namespace files {

// The File menu's parameter files: Save as and Open.
class Files {
public:
    // The page control is disabled while a load writes. `speedEntered` runs the
    // ultrasonic-speed field's handling for the speed it shows, after a load.
    // `programTitle` names the program in saved files.
    Files(MainState& state, TSSICom& sensor, PageControl& parameterPage,
          std::function<void()> speedEntered, QString programTitle);

    void FileSaveAs();
    void FileOpen();
    // Loads a set that comes from elsewhere (the history) as File Open loads a
    // file, after the same confirmation; the history names it `subject`.
    void LoadSet(const ParameterFile& file, const std::string& subject);

    // The local date of saving; tests fix it.
    std::function<SaveDate()> Today;

private:
    MainState& state_;
    TSSICom& sensor_;
    PageControl& parameterPage_;
    std::function<void()> speedEntered_;
    QString programTitle_;
};

// Today's local date.
SaveDate CurrentDate();

}  // namespace files
