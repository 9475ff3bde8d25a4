#pragma once

#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/UniqueFd.h"

namespace testsupport {

// A loopback TCP port that nobody listened on a moment ago.
inline int FreeLoopbackPort() {
    platform::UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (bind(fd.get(), reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        getsockname(fd.get(), reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return 0;
    return ntohs(address.sin_port);
}

// Whether a socket listens on the loopback port, from the kernel's table, so
// that looking does not open a session on the server.
inline bool ListensOnLoopback(int port) {
    std::ifstream table("/proc/net/tcp");
    char local[32];
    std::snprintf(local, sizeof local, "0100007F:%04X", port);
    for (std::string line; std::getline(table, line);) {
        std::istringstream fields(line);
        std::string slot, address, remote, state;
        fields >> slot >> address >> remote >> state;
        if (address == local && state == "0A")
            return true;
    }
    return false;
}

}  // namespace testsupport
