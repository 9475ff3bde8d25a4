#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "files/ParameterFile.h"

class MainState;
class TSSICom;

namespace files {

// Saves the register table as held in memory to a parameter file: asks for the
// file and the comment, then replaces the file whole or not at all.
class SaveParameters {
public:
    SaveParameters(MainState& state, const TSSICom& sensor, QString programTitle,
                   std::function<SaveDate()> today)
        : state_(state),
          sensor_(sensor),
          programTitle_(std::move(programTitle)),
          today_(std::move(today)) {}

    void Run();

private:
    std::optional<std::string> askHeader();
    // The file's header for the comment; a comment the file cannot hold names
    // its first such character to the user and gives none.
    std::optional<std::string> headerFor(const QString& comment);

    MainState& state_;
    const TSSICom& sensor_;
    QString programTitle_;
    std::function<SaveDate()> today_;
};

}  // namespace files
