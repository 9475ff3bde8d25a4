#include "SerialPortRouter.h"

#include "platform/NetworkPort.h"

namespace platform {

SerialBackend& SerialPortRouter::backendFor(const std::string& port) {
    if (isNetworkPortText(port))
        return network_;
    return termios_;
}

SerialBackend& SerialPortRouter::route(const std::string& port) {
    SerialBackend& next = backendFor(port);
    if (&next != active_)
        active_->close();
    active_ = &next;
    return next;
}

bool SerialPortRouter::open(const std::string& port, int baudRate, int timeoutMs) {
    return route(port).open(port, baudRate, timeoutMs);
}

bool SerialPortRouter::probe(const std::string& port) {
    // A probe leaves the open port as it is; its error is the one reported next.
    SerialBackend& prober = backendFor(port);
    const bool found = prober.probe(port);
    if (!active_->isOpen())
        active_ = &prober;
    return found;
}

}  // namespace platform
