#pragma once

#include <QString>
#include <string>

#include "linearization/gui/LinTexts.h"

class MainState;
class TSSICom;

namespace linearization {

struct LinPageControls;

// The text export of the whole table from the linearization page, written
// atomically to the file the user chooses.
class LinFileExport {
public:
    LinFileExport(LinPageControls& ui, MainState& state, TSSICom& sensor)
        : ui_(ui), state_(state), sensor_(sensor) {}

    void WriteLinFileClick();

private:
    // Empty when the user cancelled the save dialog or the overwrite question.
    QString chooseFile();
    QString unusedName(const QString& chosen) const;
    void exportTo(const QString& fileName);
    void showEntry(int address, int8_t value);
    // The system's reason when the file could not be written, empty on success.
    QString save(const QString& fileName, const std::string& bytes);
    void show(lintexts::Id message, const QString& appended = {});

    LinPageControls& ui_;
    MainState& state_;
    TSSICom& sensor_;
};

}  // namespace linearization
