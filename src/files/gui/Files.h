#pragma once

#include <QString>
#include <functional>

#include "files/ParameterFile.h"
#include "files/gui/SpeedFieldsAfterLoad.h"

class MainState;
class PageControl;
class TSSICom;

namespace files {

// The File menu's parameter files: Save as and Open.
class Files {
public:
    // The page control is disabled while a load writes; the speed fields belong
    // to the parameter pages. `programTitle` names the program in saved files.
    Files(MainState& state, TSSICom& sensor, PageControl& parameterPage, SpeedFields speedFields,
          QString programTitle);

    void FileSaveAs();
    void FileOpen();

    // The local date of saving; tests fix it.
    std::function<SaveDate()> Today;

private:
    MainState& state_;
    TSSICom& sensor_;
    PageControl& parameterPage_;
    SpeedFields speedFields_;
    QString programTitle_;
};

// Today's local date.
SaveDate CurrentDate();

}  // namespace files
