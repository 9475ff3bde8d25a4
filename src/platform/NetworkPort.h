#pragma once

#include <optional>
#include <string>

namespace platform {

// A serial port on a network serial server: "rfc2217://HOST:PORT" (Telnet with
// the COM-port option) or "socket://HOST:PORT" (raw TCP). An IPv6 host is
// written in brackets.
struct NetworkPort {
    enum class Kind { Rfc2217, Socket };
    Kind kind = Kind::Rfc2217;
    std::string host;
    std::string service;  // the TCP port, digits only
};

// Whether the text is meant as a network port, well formed or not.
bool isNetworkPortText(const std::string& text);

// Nothing for text that is no well-formed network port.
std::optional<NetworkPort> parseNetworkPort(const std::string& text);

}  // namespace platform
