#include "NetworkSerialBackend.h"

#include <fcntl.h>
#include <linux/sockios.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/FdWait.h"

namespace platform {

namespace {

constexpr int kSentCheckMs = 1;
constexpr int64_t kMaxRoundTripMs = 1000;
constexpr size_t kChunk = 4096;

// The addresses of one host name, found on a thread of their own: getaddrinfo()
// may wait on a name server far longer than the connect time-out, and a caller
// that gives up leaves the thread to finish alone.
struct Resolution {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    int status = 0;
    addrinfo* first = nullptr;
    ~Resolution() {
        if (first)
            freeaddrinfo(first);
    }
};

std::shared_ptr<Resolution> resolve(const NetworkPort& port, int64_t timeoutMs) {
    auto resolution = std::make_shared<Resolution>();
    std::thread([resolution, host = port.host, service = port.service] {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* first = nullptr;
        const int status = getaddrinfo(host.c_str(), service.c_str(), &hints, &first);
        std::lock_guard lock(resolution->mutex);
        resolution->status = status;
        resolution->first = first;
        resolution->finished = true;
        resolution->done.notify_all();
    }).detach();
    std::unique_lock lock(resolution->mutex);
    if (!resolution->done.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                   [&] { return resolution->finished; }))
        return nullptr;
    return resolution;
}

std::vector<uint8_t> bigEndian(uint32_t value) {
    return {uint8_t(value >> 24), uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)};
}

void append(std::vector<uint8_t>& out, const std::vector<uint8_t>& more) {
    out.insert(out.end(), more.begin(), more.end());
}

// Waits for a non-blocking connect; returns 0 or the reason it failed.
int finishConnect(int fd, int64_t left) {
    pollfd p{fd, POLLOUT, 0};
    int n = 0;
    do {
        n = poll(&p, 1, int(std::max<int64_t>(left, 0)));
    } while (n < 0 && errno == EINTR);
    if (n == 0)
        return ETIMEDOUT;
    if (n < 0)
        return errno;
    int code = 0;
    socklen_t size = sizeof code;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &code, &size) != 0)
        return errno;
    return code;
}

// Reads and drops what still comes until the server closes its side.
void awaitServerClose(int fd, int64_t deadline, Clock& clock) {
    uint8_t chunk[kChunk];
    for (int64_t left = deadline - clock.now(); left > 0; left = deadline - clock.now()) {
        pollfd p{fd, POLLIN, 0};
        const int n = poll(&p, 1, int(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || ::recv(fd, chunk, sizeof chunk, MSG_DONTWAIT) <= 0)
            return;
    }
}

}  // namespace

NetworkSerialBackend::~NetworkSerialBackend() {
    close();
}

bool NetworkSerialBackend::fail(int code, const std::string& what) {
    error_ = {code, what};
    return false;
}

bool NetworkSerialBackend::failNotOpen() {
    return fail(EBADF, "The port is not open");
}

bool NetworkSerialBackend::failConnection(int code) {
    const std::string why = code == 0 ? "the server closed the connection" : std::strerror(code);
    fail(code == 0 ? ECONNRESET : code, "Lost the connection to " + address_ + ": " + why);
    close();
    return false;
}

bool NetworkSerialBackend::timedOut(const char* what) {
    error_ = {0, std::string(what) + " on " + address_ + " timed out"};
    return false;
}

bool NetworkSerialBackend::parse(const std::string& address, std::optional<NetworkPort>& port) {
    port = parseNetworkPort(address);
    if (!port) {
        return fail(EINVAL, "Cannot open " + address +
                                ": no network port; write rfc2217://HOST:PORT or "
                                "socket://HOST:PORT");
    }
    return true;
}

bool NetworkSerialBackend::connectTo(const NetworkPort& port) {
    const int64_t started = clock_.now();
    const int64_t deadline = started + ConnectTimeoutMs;
    const auto list = resolve(port, ConnectTimeoutMs);
    if (!list) {
        return fail(ETIMEDOUT, "Cannot connect to " + address_ + ": the name " + port.host +
                                   " was not resolved within " +
                                   std::to_string(ConnectTimeoutMs / 1000) + " s");
    }
    if (list->status != 0) {
        return fail(EHOSTUNREACH, "Cannot connect to " + address_ + ": unknown host " + port.host +
                                      " (" + gai_strerror(list->status) + ")");
    }
    int code = EHOSTUNREACH;
    for (addrinfo* at = list->first; at; at = at->ai_next) {
        UniqueFd fd(::socket(at->ai_family, at->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                             at->ai_protocol));
        if (!fd.valid()) {
            code = errno;
            continue;
        }
        code = ::connect(fd.get(), at->ai_addr, at->ai_addrlen) == 0 ? 0 : errno;
        if (code == EINPROGRESS)
            code = finishConnect(fd.get(), deadline - clock_.now());
        if (code == 0) {
            const int on = 1;
            setsockopt(fd.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            fd_ = std::move(fd);
            roundTripMs_ = std::min(clock_.now() - started, kMaxRoundTripMs);
            return true;
        }
    }
    if (code == ETIMEDOUT) {
        return fail(code, "Cannot connect to " + address_ + ": no answer within " +
                              std::to_string(ConnectTimeoutMs / 1000) + " s");
    }
    std::string text = "Cannot connect to " + address_ + ": " + std::strerror(code);
    if (code == ECONNREFUSED)
        text += " (is the serial server running and listening on this port?)";
    return fail(code, text);
}

bool NetworkSerialBackend::open(const std::string& address, int baudRate, int timeoutMs) {
    close();
    error_ = {};
    std::optional<NetworkPort> port;
    if (!parse(address, port))
        return false;
    if (address != address_)
        warnedAddress_.clear();
    address_ = address;
    kind_ = port->kind;
    if (!rfc2217() && baudRate != RawSocketBaudRate) {
        return fail(EINVAL, "Cannot open " + address + " at " + std::to_string(baudRate) +
                                " baud: a raw socket has the server's fixed line settings, so "
                                "only " +
                                std::to_string(RawSocketBaudRate) +
                                " baud works; use rfc2217:// for other rates");
    }
    if (!connectTo(*port))
        return false;
    timeoutMs_ = std::max(timeoutMs, 0);
    if (rfc2217() && !configure(baudRate)) {
        const SystemError why = error_;
        close();
        error_ = why;
        return false;
    }
    return true;
}

// Announces the COM-port option and sends the line settings; the server's
// acknowledgement of the baud rate shows that it took them.
bool NetworkSerialBackend::configure(int baudRate) {
    codec_ = TelnetCodec();
    const int64_t deadline = clock_.now() + SettingsTimeoutMs;
    if (!sendLineSettings(baudRate))
        return false;
    if (!awaitReply(comport::SetBaudRate, {}, deadline)) {
        if (error_.code == ECONNRESET) {
            return fail(ECONNRESET, "Cannot open " + address_ +
                                        ": the server closed the connection at once; another "
                                        "client may be using its serial port");
        }
        if (error_.code != 0)
            return false;
        if (codec_.comPortAnswered() && !codec_.comPortAccepted()) {
            return fail(EPROTO, "Cannot open " + address_ +
                                    ": the server does not offer the RFC 2217 COM-port option; "
                                    "use socket:// for a raw TCP port");
        }
        return fail(ETIMEDOUT, "Cannot open " + address_ +
                                   ": the server did not acknowledge the line settings within " +
                                   std::to_string(SettingsTimeoutMs / 1000) + " s");
    }
    return switchRts(false, clock_.now() + ModemLineTimeoutMs + roundTripMs_);
}

bool NetworkSerialBackend::sendLineSettings(int baudRate) {
    std::vector<uint8_t> out = codec_.greeting();
    append(out, TelnetCodec::comPortCommand(comport::SetBaudRate, bigEndian(uint32_t(baudRate))));
    append(out, TelnetCodec::comPortCommand(comport::SetDataSize, {8}));
    append(out, TelnetCodec::comPortCommand(comport::SetParity, {comport::ParityNone}));
    append(out, TelnetCodec::comPortCommand(comport::SetStopSize, {comport::OneStopBit}));
    append(out, TelnetCodec::comPortCommand(comport::SetControl, {comport::NoFlowControl}));
    replies_.clear();
    return send(out, clock_.now() + SettingsTimeoutMs);
}

bool NetworkSerialBackend::probe(const std::string& address) {
    error_ = {};
    std::optional<NetworkPort> port;
    if (!parse(address, port))
        return false;
    const std::string previous = address_;
    address_ = address;
    const bool connected = connectTo(*port);
    fd_.reset();
    address_ = previous;
    return connected;
}

// The server releases its serial port when it sees the connection end; waiting
// for its side to close means the port is free again when close() returns, so a
// reopen right after (as a change of baud rate does) does not find it busy.
void NetworkSerialBackend::close() {
    if (fd_.valid() && ::shutdown(fd_.get(), SHUT_WR) == 0)
        awaitServerClose(fd_.get(), clock_.now() + CloseTimeoutMs, clock_);
    fd_.reset();
    received_.clear();
    consumed_ = 0;
    replies_.clear();
}

// Once per address: the session goes on without the modem line.
bool NetworkSerialBackend::skipModemLine() {
    if (warnedAddress_ != address_) {
        warnedAddress_ = address_;
        if (warning_)
            warning_(address_);
    }
    error_ = {0, "The server at " + address_ + " does not switch modem lines"};
    return false;
}

// False only when the connection failed; a request left unanswered is skipped.
bool NetworkSerialBackend::switchRts(bool asserted, int64_t deadline) {
    if (warnedAddress_ == address_)
        return true;
    const uint8_t value = asserted ? comport::RtsOn : comport::RtsOff;
    replies_.clear();
    if (!send(TelnetCodec::comPortCommand(comport::SetControl, {value}), deadline))
        return false;
    if (awaitReply(comport::SetControl, {comport::RtsOn, comport::RtsOff}, deadline))
        return true;
    if (error_.code != 0)
        return false;
    skipModemLine();
    error_ = {};
    return true;
}

bool NetworkSerialBackend::setRts(bool asserted) {
    if (!isOpen())
        return failNotOpen();
    error_ = {};
    if (rfc2217() && warnedAddress_ != address_) {
        if (!switchRts(asserted, clock_.now() + ModemLineTimeoutMs + roundTripMs_))
            return false;
        if (warnedAddress_ != address_)
            return true;
    }
    return skipModemLine();
}

// Drops what arrived and asks the server to drop what it holds for the client.
// The server's transmit side is left alone: on a pseudo-terminal behind it,
// flushing it would drop what the device has not read yet.
bool NetworkSerialBackend::purge() {
    if (!isOpen())
        return failNotOpen();
    error_ = {};
    if (!receiveAvailable())
        return false;
    received_.clear();
    consumed_ = 0;
    if (!rfc2217())
        return true;
    return send(TelnetCodec::comPortCommand(comport::PurgeData, {comport::PurgeReceived}),
                clock_.now() + timeoutMs_ + roundTripMs_);
}

NetworkSerialBackend::Ready NetworkSerialBackend::waitFor(short events, int64_t deadline) {
    const FdWait wait = WaitForFd(fd_.get(), events, deadline, clock_);
    if (wait == FdWait::PollError)
        failConnection(errno);
    if (wait == FdWait::Broken) {
        int code = 0;
        socklen_t size = sizeof code;
        getsockopt(fd_.get(), SOL_SOCKET, SO_ERROR, &code, &size);
        failConnection(code);
    }
    if (wait == FdWait::Ready)
        return Ready::Yes;
    return wait == FdWait::TimedOut ? Ready::TimedOut : Ready::Failed;
}

bool NetworkSerialBackend::takeIn(const uint8_t* bytes, size_t n) {
    if (!rfc2217()) {
        received_.insert(received_.end(), bytes, bytes + n);
        return true;
    }
    codec_.receive(bytes, n, received_);
    for (auto& reply : codec_.takeReplies())
        replies_.push_back(std::move(reply));
    const std::vector<uint8_t> answers = codec_.takeAnswers();
    return answers.empty() || send(answers, clock_.now() + timeoutMs_ + roundTripMs_);
}

// Reads what the socket holds now; false when the connection is gone.
bool NetworkSerialBackend::receiveAvailable() {
    uint8_t chunk[kChunk];
    for (;;) {
        const ssize_t got = ::recv(fd_.get(), chunk, sizeof chunk, MSG_DONTWAIT);
        if (got > 0) {
            if (!takeIn(chunk, size_t(got)))
                return false;
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return true;
        return failConnection(got == 0 ? 0 : errno);
    }
}

// Waits for bytes until the deadline; true when some arrived.
bool NetworkSerialBackend::receive(int64_t deadline) {
    const Ready ready = waitFor(POLLIN, deadline);
    if (ready != Ready::Yes)
        return false;
    return receiveAvailable();
}

bool NetworkSerialBackend::awaitReply(uint8_t command, const std::vector<uint8_t>& values,
                                      int64_t deadline) {
    const uint8_t expected = uint8_t(command + comport::ServerOffset);
    for (;;) {
        const auto found = std::find_if(replies_.begin(), replies_.end(), [&](const auto& r) {
            return r.command == expected &&
                   (values.empty() ||
                    (!r.value.empty() &&
                     std::find(values.begin(), values.end(), r.value.front()) != values.end()));
        });
        if (found != replies_.end()) {
            replies_.erase(found);
            return true;
        }
        if (codec_.comPortAnswered() && !codec_.comPortAccepted())
            return false;
        if (!isOpen() || !receive(deadline))
            return false;
    }
}

bool NetworkSerialBackend::read(uint8_t* buffer, size_t n, size_t& received) {
    received = 0;
    if (!isOpen())
        return failNotOpen();
    error_ = {};
    const int64_t deadline = clock_.now() + timeoutMs_ + roundTripMs_;
    while (received_.size() - consumed_ < n) {
        if (!receive(deadline)) {
            if (!isOpen())
                return false;
            break;
        }
    }
    received = std::min(n, received_.size() - consumed_);
    std::copy_n(received_.begin() + std::ptrdiff_t(consumed_), received, buffer);
    consumed_ += received;
    if (consumed_ == received_.size()) {
        received_.clear();
        consumed_ = 0;
    }
    return received == n || timedOut("Reading");
}

bool NetworkSerialBackend::send(const std::vector<uint8_t>& bytes, int64_t deadline) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t put =
            ::send(fd_.get(), bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (put > 0) {
            sent += size_t(put);
            continue;
        }
        if (put < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return failConnection(errno);
        const Ready ready = waitFor(POLLOUT, deadline);
        if (ready == Ready::TimedOut)
            return timedOut("Writing");
        if (ready == Ready::Failed)
            return false;
    }
    return true;
}

// The bytes have left once the socket has sent all of them. Waiting for the
// server's acknowledgement instead would add its delayed ACK (some 40 ms) to
// every command, and the read's time-out already allows for the round trip.
bool NetworkSerialBackend::waitSent(int64_t deadline) {
    for (;;) {
        int pending = 0;
        if (ioctl(fd_.get(), SIOCOUTQNSD, &pending) != 0)
            return failConnection(errno);
        if (pending == 0)
            return true;
        if (clock_.now() >= deadline)
            return timedOut("Writing");
        clock_.sleep(kSentCheckMs);
    }
}

bool NetworkSerialBackend::write(const uint8_t* buffer, size_t n) {
    if (!isOpen())
        return failNotOpen();
    error_ = {};
    const int64_t deadline = clock_.now() + timeoutMs_ + roundTripMs_;
    std::vector<uint8_t> out;
    if (rfc2217())
        TelnetCodec::escape(buffer, n, out);
    else
        out.assign(buffer, buffer + n);
    return send(out, deadline) && waitSent(deadline);
}

}  // namespace platform
