#include "NetworkPort.h"

#include <algorithm>
#include <cctype>

namespace platform {

namespace {

constexpr const char* kRfc2217 = "rfc2217://";
constexpr const char* kSocket = "socket://";

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool isTcpPort(const std::string& digits) {
    if (digits.empty() || digits.size() > 5)
        return false;
    if (!std::all_of(digits.begin(), digits.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
        return false;
    const int number = std::stoi(digits);
    return number >= 1 && number <= 65535;
}

// "host:port" or "[v6]:port" into its two parts.
std::optional<NetworkPort> splitHostPort(const std::string& rest, NetworkPort::Kind kind) {
    const auto colon = rest.rfind(':');
    if (colon == std::string::npos || colon == 0)
        return std::nullopt;
    std::string host = rest.substr(0, colon);
    const std::string service = rest.substr(colon + 1);
    if (host.front() == '[') {
        if (host.size() < 3 || host.back() != ']')
            return std::nullopt;
        host = host.substr(1, host.size() - 2);
    } else if (host.find_first_of("[]:/ \t") != std::string::npos) {
        return std::nullopt;
    }
    if (!isTcpPort(service))
        return std::nullopt;
    return NetworkPort{kind, host, service};
}

}  // namespace

bool isNetworkPortText(const std::string& text) {
    return startsWith(text, kRfc2217) || startsWith(text, kSocket);
}

std::optional<NetworkPort> parseNetworkPort(const std::string& text) {
    if (startsWith(text, kRfc2217))
        return splitHostPort(text.substr(std::string(kRfc2217).size()), NetworkPort::Kind::Rfc2217);
    if (startsWith(text, kSocket))
        return splitHostPort(text.substr(std::string(kSocket).size()), NetworkPort::Kind::Socket);
    return std::nullopt;
}

}  // namespace platform
