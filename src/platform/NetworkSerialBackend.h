#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/NetworkPort.h"
#include "platform/SerialBackend.h"
#include "platform/TelnetCodec.h"
#include "platform/UniqueFd.h"

namespace platform {

// A serial port on a network serial server, over a TCP socket: rfc2217:// sends
// the line settings, purges and RTS to the server; socket:// has the server's
// fixed settings. Read and write time-outs are those of a local port plus the
// time the connection took to set up (one round trip), so network delay never
// shortens them.
class NetworkSerialBackend final : public SerialBackend {
public:
    // Called once per address when the server leaves a modem-line request
    // unanswered (or cannot carry one); the session goes on without the line.
    using ModemLineWarning = std::function<void(const std::string& address)>;

    static constexpr int ConnectTimeoutMs = 3000;
    static constexpr int SettingsTimeoutMs = 2000;
    static constexpr int ModemLineTimeoutMs = 250;
    static constexpr int CloseTimeoutMs = 500;
    static constexpr int RawSocketBaudRate = 4800;

    NetworkSerialBackend() = default;
    ~NetworkSerialBackend() override;
    NetworkSerialBackend(const NetworkSerialBackend&) = delete;
    NetworkSerialBackend& operator=(const NetworkSerialBackend&) = delete;

    void onModemLineWarning(ModemLineWarning warning) { warning_ = std::move(warning); }

    bool open(const std::string& address, int baudRate, int timeoutMs) override;
    // Connects and closes again.
    bool probe(const std::string& address) override;
    void close() override;
    bool isOpen() const override { return fd_.valid(); }

    bool setRts(bool asserted) override;
    bool purge() override;
    bool read(uint8_t* buffer, size_t n, size_t& received) override;
    bool write(const uint8_t* buffer, size_t n) override;

    const SystemError& lastError() const override { return error_; }

private:
    enum class Ready { Yes, TimedOut, Failed };

    bool fail(int code, const std::string& what);
    bool failNotOpen();
    bool failConnection(int code);
    bool timedOut(const char* what);
    bool parse(const std::string& address, std::optional<NetworkPort>& port);
    bool connectTo(const NetworkPort& port);
    bool configure(int baudRate);
    bool sendLineSettings(int baudRate);
    bool skipModemLine();
    bool switchRts(bool asserted, int64_t deadline);
    bool send(const std::vector<uint8_t>& bytes, int64_t deadline);
    bool waitSent(int64_t deadline);
    Ready waitFor(short events, int64_t deadline);
    bool receive(int64_t deadline);
    bool receiveAvailable();
    bool takeIn(const uint8_t* bytes, size_t n);
    bool awaitReply(uint8_t command, const std::vector<uint8_t>& values, int64_t deadline);
    bool rfc2217() const { return kind_ == NetworkPort::Kind::Rfc2217; }

    UniqueFd fd_;
    SteadyClock clock_;
    TelnetCodec codec_;
    NetworkPort::Kind kind_ = NetworkPort::Kind::Rfc2217;
    std::string address_;
    std::string warnedAddress_;  // whose modem lines are known to go unanswered
    std::vector<uint8_t> received_;
    size_t consumed_ = 0;
    std::vector<ComPortReply> replies_;
    int timeoutMs_ = 0;
    int64_t roundTripMs_ = 0;
    SystemError error_;
    ModemLineWarning warning_;
};

}  // namespace platform
