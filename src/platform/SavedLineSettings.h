#pragma once

#include <termios.h>

#include <string>

#include "platform/UniqueFd.h"

namespace platform {

// Keeps a terminal device's line settings while it lives and puts them back
// when it ends, so that trying a port leaves it as it was found. Does nothing
// for a path that is no terminal.
class SavedLineSettings {
public:
    explicit SavedLineSettings(const std::string& devicePath);
    ~SavedLineSettings();
    SavedLineSettings(const SavedLineSettings&) = delete;
    SavedLineSettings& operator=(const SavedLineSettings&) = delete;

    bool saved() const { return fd_.valid(); }

private:
    UniqueFd fd_;
    termios settings_{};
};

}  // namespace platform
