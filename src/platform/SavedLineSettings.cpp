#include "platform/SavedLineSettings.h"

#include <fcntl.h>

namespace platform {

SavedLineSettings::SavedLineSettings(const std::string& devicePath) {
    // Non-blocking, so that a port waiting for its carrier does not hold the open.
    UniqueFd fd(::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (fd.valid() && tcgetattr(fd.get(), &settings_) == 0)
        fd_ = std::move(fd);
}

SavedLineSettings::~SavedLineSettings() {
    if (fd_.valid())
        tcsetattr(fd_.get(), TCSANOW, &settings_);
}

}  // namespace platform
