#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/NetworkSerialBackend.h"
#include "platform/TelnetCodec.h"
#include "platform/UniqueFd.h"
#include "support/Elapsed.h"

namespace {

using namespace std::chrono_literals;
using platform::ComPortReply;
using platform::NetworkSerialBackend;
using platform::TelnetCodec;
using Bytes = std::vector<uint8_t>;

// One client at a time on a loopback port: it records what the client sends and
// acknowledges the COM-port commands it is told to.
class ComPortServer {
public:
    struct Behaviour {
        bool telnet = true;
        bool acknowledgeRts = false;
    };

    explicit ComPortServer(Behaviour behaviour) : behaviour_(behaviour) {
        listener_ = platform::UniqueFd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        bind(listener_.get(), reinterpret_cast<sockaddr*>(&address), size);
        listen(listener_.get(), 4);
        getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~ComPortServer() {
        stop_ = true;
        thread_.join();
    }

    std::string url() const {
        return std::string(behaviour_.telnet ? "rfc2217" : "socket") +
               "://127.0.0.1:" + std::to_string(port_);
    }
    void send(const Bytes& bytes) {
        std::lock_guard lock(mutex_);
        ::send(client_.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
    }
    void drop() {
        std::lock_guard lock(mutex_);
        client_.reset();
    }
    Bytes raw() {
        std::lock_guard lock(mutex_);
        return raw_;
    }
    Bytes data() {
        std::lock_guard lock(mutex_);
        return data_;
    }
    std::vector<ComPortReply> commands() {
        std::lock_guard lock(mutex_);
        return commands_;
    }
    // Waits until the client's data reach `size` bytes.
    Bytes dataOf(size_t size) {
        for (int i = 0; i < 200 && data().size() < size; ++i)
            std::this_thread::sleep_for(5ms);
        return data();
    }

private:
    void serve() {
        while (!stop_) {
            pollfd p[2] = {{listener_.get(), POLLIN, 0}, {clientFd(), POLLIN, 0}};
            if (poll(p, p[1].fd >= 0 ? 2 : 1, 5) <= 0)
                continue;
            if (p[0].revents & POLLIN)
                accept();
            if (p[1].fd >= 0 && (p[1].revents & (POLLIN | POLLHUP)))
                receive();
        }
    }
    int clientFd() {
        std::lock_guard lock(mutex_);
        return client_.get();
    }
    void accept() {
        std::lock_guard lock(mutex_);
        client_ = platform::UniqueFd(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
        codec_ = TelnetCodec();
    }
    void receive() {
        std::lock_guard lock(mutex_);
        uint8_t chunk[512];
        const ssize_t got = ::recv(client_.get(), chunk, sizeof chunk, MSG_DONTWAIT);
        if (got <= 0) {
            client_.reset();
            return;
        }
        raw_.insert(raw_.end(), chunk, chunk + got);
        if (!behaviour_.telnet) {
            data_.insert(data_.end(), chunk, chunk + got);
            return;
        }
        codec_.receive(chunk, size_t(got), data_);
        for (const auto& command : codec_.takeReplies()) {
            commands_.push_back(command);
            const bool rts = command.command == 5 && !command.value.empty() &&
                             (command.value[0] == 11 || command.value[0] == 12);
            if (!rts || behaviour_.acknowledgeRts) {
                const Bytes ack = TelnetCodec::comPortCommand(command.command + 100, command.value);
                ::send(client_.get(), ack.data(), ack.size(), MSG_NOSIGNAL);
            }
        }
    }

    Behaviour behaviour_;
    platform::UniqueFd listener_;
    platform::UniqueFd client_;
    int port_ = 0;
    TelnetCodec codec_;
    std::mutex mutex_;
    Bytes raw_;
    Bytes data_;
    std::vector<ComPortReply> commands_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

bool contains(const Bytes& bytes, const Bytes& part) {
    return std::search(bytes.begin(), bytes.end(), part.begin(), part.end()) != bytes.end();
}

using testsupport::msSince;

TEST(NetworkSerialBackend, OpenSendsTheLineSettingsAndWritesDoubleEveryIac) {
    ComPortServer server({});
    NetworkSerialBackend backend;
    ASSERT_TRUE(backend.open(server.url(), 38400, 50)) << backend.lastError().message;
    const Bytes written = {'A', 0xFF, 'B', '\r'};
    ASSERT_TRUE(backend.write(written.data(), written.size())) << backend.lastError().message;
    EXPECT_EQ(server.dataOf(written.size()), written);
    EXPECT_TRUE(contains(server.raw(), {'A', 0xFF, 0xFF, 'B', '\r'}));
    EXPECT_TRUE(contains(server.raw(), {255, 251, 44})) << "IAC WILL COM-PORT";
    const std::vector<ComPortReply> expected = {
        {1, {0, 0, 0x96, 0x00}}, {2, {8}}, {3, {1}}, {4, {1}}, {5, {1}}, {5, {12}}};
    EXPECT_EQ(server.commands(), expected);

    ASSERT_TRUE(backend.purge());
    for (int i = 0; i < 200 && server.commands().size() == expected.size(); ++i)
        std::this_thread::sleep_for(5ms);
    EXPECT_EQ(server.commands().back(), (ComPortReply{12, {1}})) << "purge of the server's input";
}

TEST(NetworkSerialBackend, ReadGivesTheLineDataAndEndsAtItsTimeOut) {
    ComPortServer server({});
    NetworkSerialBackend backend;
    ASSERT_TRUE(backend.open(server.url(), 4800, 50)) << backend.lastError().message;
    server.send({'3', 0xFF, 0xFF, 255, 250, 44, 107, 0, 255, 240, 'C', 255, 241});
    uint8_t buffer[8] = {};
    size_t received = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(backend.read(buffer, 4, received));
    const int64_t elapsed = msSince(start);
    EXPECT_EQ(Bytes(buffer, buffer + received), (Bytes{'3', 0xFF, 'C'}));
    EXPECT_EQ(backend.lastError().code, 0) << "a time-out is no failed request";
    EXPECT_GE(elapsed, 50);
    EXPECT_LT(elapsed, 250);

    server.send({'O', 'K', '\r'});
    EXPECT_TRUE(backend.read(buffer, 3, received));
    EXPECT_EQ(Bytes(buffer, buffer + received), (Bytes{'O', 'K', '\r'}));
}

TEST(NetworkSerialBackend, UnansweredModemLinesAreSkippedWithOneWarning) {
    for (const bool acknowledged : {false, true}) {
        SCOPED_TRACE(acknowledged ? "acknowledged" : "unanswered");
        ComPortServer server({true, acknowledged});
        NetworkSerialBackend backend;
        std::vector<std::string> warnings;
        backend.onModemLineWarning(
            [&](const std::string& address) { warnings.push_back(address); });
        ASSERT_TRUE(backend.open(server.url(), 4800, 50)) << backend.lastError().message;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(backend.setRts(true), acknowledged);
        EXPECT_EQ(backend.setRts(false), acknowledged);
        EXPECT_EQ(backend.lastError().code, 0);
        EXPECT_LT(msSince(start), 200) << "a skipped request waits no more";
        ASSERT_TRUE(backend.open(server.url(), 38400, 50)) << "a new rate on a new connection";
        EXPECT_EQ(backend.setRts(true), acknowledged);
        EXPECT_EQ(warnings, acknowledged ? std::vector<std::string>{}
                                         : std::vector<std::string>{server.url()});
    }
}

TEST(NetworkSerialBackend, ADroppedConnectionFailsTheReadNamingTheAddress) {
    ComPortServer server({});
    NetworkSerialBackend backend;
    ASSERT_TRUE(backend.open(server.url(), 4800, 50)) << backend.lastError().message;
    server.drop();
    uint8_t byte = 0;
    size_t received = 0;
    EXPECT_FALSE(backend.read(&byte, 1, received));
    EXPECT_NE(backend.lastError().code, 0);
    EXPECT_EQ(backend.lastError().message,
              "Lost the connection to " + server.url() + ": the server closed the connection");
    EXPECT_FALSE(backend.isOpen());
    EXPECT_FALSE(backend.write(&byte, 1));
}

TEST(NetworkSerialBackend, ARawSocketTakesOnlyTheCommandRateAndSendsBytesAsTheyAre) {
    ComPortServer server({false});
    NetworkSerialBackend backend;
    EXPECT_FALSE(backend.open(server.url(), 38400, 50));
    EXPECT_EQ(backend.lastError().message,
              "Cannot open " + server.url() +
                  " at 38400 baud: a raw socket has the server's fixed line settings, so only "
                  "4800 baud works; use rfc2217:// for other rates");
    ASSERT_TRUE(backend.open(server.url(), 4800, 50)) << backend.lastError().message;
    const Bytes written = {0xFF, 'V', 'A', '\r'};
    ASSERT_TRUE(backend.write(written.data(), written.size()));
    EXPECT_EQ(server.dataOf(written.size()), written);
    EXPECT_EQ(server.raw(), written);
}

TEST(NetworkSerialBackend, ProbeConnectsAndReportsWhoIsNotThere) {
    NetworkSerialBackend backend;
    {
        ComPortServer server({});
        EXPECT_TRUE(backend.probe(server.url())) << backend.lastError().message;
        EXPECT_FALSE(backend.isOpen());
    }
    EXPECT_FALSE(backend.probe("rfc2217://varnel-no-such-host.invalid:4001"));
    EXPECT_EQ(backend.lastError().message.rfind("Cannot connect to rfc2217://varnel-no-such-host"
                                                ".invalid:4001: unknown host ",
                                                0),
              0u)
        << backend.lastError().message;
    EXPECT_FALSE(backend.open("rfc2217://host", 4800, 50));
    EXPECT_EQ(backend.lastError().message,
              "Cannot open rfc2217://host: no network port; write rfc2217://HOST:PORT or "
              "socket://HOST:PORT");
}

}  // namespace
