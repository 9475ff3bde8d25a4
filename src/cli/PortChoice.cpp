#include "PortChoice.h"

#include <sys/stat.h>

#include <cctype>

namespace cli {

namespace {

constexpr int kListedPorts = 100;

std::optional<int> portNumber(const std::string& digits) {
    if (digits.empty() || digits.size() > 3)
        return std::nullopt;
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
    }
    const int number = std::stoi(digits);
    if (number < 1 || number > 255)
        return std::nullopt;
    return number;
}

bool hasComPrefix(const std::string& text) {
    return text.size() > 3 && std::toupper(static_cast<unsigned char>(text[0])) == 'C' &&
           std::toupper(static_cast<unsigned char>(text[1])) == 'O' &&
           std::toupper(static_cast<unsigned char>(text[2])) == 'M';
}

}  // namespace

std::optional<PortChoice> resolvePort(const std::string& text) {
    if (text.find('/') != std::string::npos) {
        return PortChoice{kPathPortNumber, {{kPathPortNumber, text}}, text};
    }
    const auto number = portNumber(hasComPrefix(text) ? text.substr(3) : text);
    if (!number)
        return std::nullopt;
    return PortChoice{uint8_t(*number), {}, "COM" + std::to_string(*number)};
}

std::vector<PortEntry> existingPorts(const platform::ComPortMap& ports,
                                     const std::function<bool(const std::string&)>& exists) {
    std::vector<PortEntry> found;
    for (int n = 1; n <= kListedPorts; ++n) {
        const std::string path = ports.devicePath(n);
        if (!path.empty() && exists(path))
            found.push_back({n, path});
    }
    return found;
}

bool deviceExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

}  // namespace cli
