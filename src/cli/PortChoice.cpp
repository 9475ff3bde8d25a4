#include "PortChoice.h"

#include <cctype>

namespace cli {

namespace {

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
    if (isDevicePath(text)) {
        return PortChoice{kPathPortNumber, {{kPathPortNumber, text}}, text};
    }
    const auto number = portNumber(hasComPrefix(text) ? text.substr(3) : text);
    if (!number)
        return std::nullopt;
    return PortChoice{uint8_t(*number), {}, "COM" + std::to_string(*number)};
}

bool isDevicePath(const std::string& text) {
    return text.find('/') != std::string::npos;
}

}  // namespace cli
