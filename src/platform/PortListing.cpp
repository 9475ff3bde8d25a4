#include "platform/PortListing.h"

#include <sys/stat.h>

#include <utility>

namespace platform {

std::vector<PortEntry> ListPorts(const ComPortMap& ports,
                                 const std::function<bool(const PortEntry&)>& usable) {
    std::vector<PortEntry> found;
    for (int number = 1; number <= HighestListedPort; ++number) {
        PortEntry entry{number, ports.devicePath(number)};
        if (!entry.devicePath.empty() && usable(entry))
            found.push_back(std::move(entry));
    }
    return found;
}

bool DeviceExists(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0;
}

}  // namespace platform
