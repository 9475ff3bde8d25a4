#pragma once

#include "platform/NetworkSerialBackend.h"
#include "platform/SerialBackend.h"
#include "platform/TermiosSerialBackend.h"

namespace platform {

// The serial backend the programs use: a device path goes to termios, an
// rfc2217:// or socket:// address to the network backend.
class SerialPortRouter final : public SerialBackend {
public:
    SerialPortRouter() = default;

    void onModemLineWarning(NetworkSerialBackend::ModemLineWarning warning) {
        network_.onModemLineWarning(std::move(warning));
    }

    bool open(const std::string& port, int baudRate, int timeoutMs) override;
    bool probe(const std::string& port) override;
    void close() override { active_->close(); }
    bool isOpen() const override { return active_->isOpen(); }

    bool setRts(bool asserted) override { return active_->setRts(asserted); }
    bool purge() override { return active_->purge(); }
    bool read(uint8_t* buffer, size_t n, size_t& received) override {
        return active_->read(buffer, n, received);
    }
    bool write(const uint8_t* buffer, size_t n) override { return active_->write(buffer, n); }

    const SystemError& lastError() const override { return active_->lastError(); }

private:
    SerialBackend& backendFor(const std::string& port);
    SerialBackend& route(const std::string& port);

    TermiosSerialBackend termios_;
    NetworkSerialBackend network_;
    SerialBackend* active_ = &termios_;
};

}  // namespace platform
