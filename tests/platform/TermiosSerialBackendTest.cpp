#include "platform/TermiosSerialBackend.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "support/Elapsed.h"

namespace {

using platform::TermiosSerialBackend;
using Clock = std::chrono::steady_clock;
using testsupport::msSince;

// A pseudo-terminal whose slave side the backend opens by path, as it would a
// serial adapter; the test plays the device on the master side.
class PtyPair {
public:
    PtyPair() {
        char name[256] = {};
        if (openpty(&master_, &slave_, name, nullptr, nullptr) == 0)
            path_ = name;
    }
    ~PtyPair() {
        closeMaster();
        if (slave_ >= 0)
            ::close(slave_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& path() const { return path_; }
    int slave() const { return slave_; }

    void send(const std::string& bytes) const {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    // Everything that arrives within `waitMs`.
    std::string receive(int waitMs) const {
        std::string got;
        const auto start = Clock::now();
        while (msSince(start) < waitMs) {
            pollfd p{master_, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0)
                continue;
            char buf[256];
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n <= 0)
                break;
            got.append(buf, size_t(n));
        }
        return got;
    }
    void closeMaster() {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

class TermiosSerialBackendTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(pty.path().empty()) << std::strerror(errno); }

    bool openPort(int baud = 4800, int timeoutMs = 50) {
        return backend.open(pty.path(), baud, timeoutMs);
    }
    std::string readBytes(size_t n, bool& ok) {
        std::vector<uint8_t> buf(n);
        size_t received = 0;
        ok = backend.read(buf.data(), n, received);
        return std::string(buf.begin(), buf.begin() + long(received));
    }

    PtyPair pty;
    TermiosSerialBackend backend;
};

TEST_F(TermiosSerialBackendTest, OpensThePtyAndRecognisesIt) {
    ASSERT_TRUE(openPort()) << backend.lastError().message;
    EXPECT_TRUE(backend.isOpen());
    EXPECT_TRUE(backend.isPseudoTerminal());
    EXPECT_EQ(backend.lastError().code, 0);
}

TEST_F(TermiosSerialBackendTest, SecondOpenOfTheSameDeviceIsRefused) {
    ASSERT_TRUE(openPort());
    TermiosSerialBackend other;
    EXPECT_FALSE(other.open(pty.path(), 4800, 50));
    EXPECT_FALSE(other.isOpen());
    EXPECT_EQ(other.lastError().code, EBUSY);
    EXPECT_NE(other.lastError().message.find(pty.path()), std::string::npos);
}

TEST_F(TermiosSerialBackendTest, ProbeOfABusyDeviceFails) {
    ASSERT_TRUE(openPort());
    TermiosSerialBackend other;
    EXPECT_FALSE(other.probe(pty.path()));
    EXPECT_EQ(other.lastError().code, EBUSY);
}

TEST_F(TermiosSerialBackendTest, ProbeLeavesAFreeDeviceFree) {
    EXPECT_TRUE(backend.probe(pty.path())) << backend.lastError().message;
    EXPECT_FALSE(backend.isOpen());
    TermiosSerialBackend other;
    EXPECT_TRUE(other.open(pty.path(), 4800, 50)) << other.lastError().message;
}

TEST_F(TermiosSerialBackendTest, CloseReleasesTheDevice) {
    ASSERT_TRUE(openPort());
    backend.close();
    EXPECT_FALSE(backend.isOpen());
    TermiosSerialBackend other;
    EXPECT_TRUE(other.open(pty.path(), 4800, 50)) << other.lastError().message;
}

TEST_F(TermiosSerialBackendTest, DestroyingTheBackendReleasesTheDevice) {
    {
        TermiosSerialBackend scoped;
        ASSERT_TRUE(scoped.open(pty.path(), 4800, 50));
    }
    EXPECT_TRUE(openPort()) << backend.lastError().message;
}

TEST_F(TermiosSerialBackendTest, MissingDeviceKeepsTheSystemReason) {
    const std::string path = "/dev/varnel-no-such-device";
    EXPECT_FALSE(backend.open(path, 4800, 50));
    EXPECT_FALSE(backend.isOpen());
    EXPECT_EQ(backend.lastError().code, ENOENT);
    const std::string& message = backend.lastError().message;
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_NE(message.find(std::strerror(ENOENT)), std::string::npos) << message;
}

TEST_F(TermiosSerialBackendTest, ProbeOfAMissingDeviceFails) {
    EXPECT_FALSE(backend.probe("/dev/varnel-no-such-device"));
    EXPECT_EQ(backend.lastError().code, ENOENT);
}

TEST_F(TermiosSerialBackendTest, APlainFileIsNoSerialDevice) {
    char path[] = "/tmp/varnel-plain-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ::close(fd);
    EXPECT_FALSE(backend.open(path, 4800, 50));
    EXPECT_EQ(backend.lastError().code, ENOTTY);
    unlink(path);
}

TEST(OpenFailure, PermissionErrorNamesTheDialoutGroup) {
    const std::string message = platform::openFailure("/dev/ttyUSB0", EACCES);
    EXPECT_NE(message.find("/dev/ttyUSB0"), std::string::npos);
    EXPECT_NE(message.find(std::strerror(EACCES)), std::string::npos);
    EXPECT_NE(message.find("dialout"), std::string::npos);
}

TEST(OpenFailure, OtherErrorsCarryNoGroupHint) {
    EXPECT_EQ(platform::openFailure("/dev/ttyS0", ENOENT).find("dialout"), std::string::npos);
}

TEST_F(TermiosSerialBackendTest, AppliesBaudRateAndRawEightNOne) {
    ASSERT_TRUE(openPort(38400, 50));
    termios tio{};
    ASSERT_EQ(tcgetattr(pty.slave(), &tio), 0);
    EXPECT_EQ(cfgetospeed(&tio), speed_t(B38400));
    EXPECT_EQ(cfgetispeed(&tio), speed_t(B38400));
    EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), tcflag_t(CLOCAL | CREAD));
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
}

TEST_F(TermiosSerialBackendTest, ReopenAppliesTheNewRate) {
    ASSERT_TRUE(openPort(4800, 50));
    ASSERT_TRUE(openPort(115200, 1000));
    termios tio{};
    ASSERT_EQ(tcgetattr(pty.slave(), &tio), 0);
    EXPECT_EQ(cfgetospeed(&tio), speed_t(B115200));
}

TEST_F(TermiosSerialBackendTest, UnknownBaudRateFails) {
    EXPECT_FALSE(openPort(12345, 50));
    EXPECT_FALSE(backend.isOpen());
    EXPECT_EQ(backend.lastError().code, EINVAL);
    EXPECT_NE(backend.lastError().message.find("12345"), std::string::npos);
}

TEST(TermiosSpeed, MapsStandardRatesOnly) {
    EXPECT_EQ(platform::termiosSpeed(4800), speed_t(B4800));
    EXPECT_EQ(platform::termiosSpeed(38400), speed_t(B38400));
    EXPECT_EQ(platform::termiosSpeed(115200), speed_t(B115200));
    EXPECT_FALSE(platform::termiosSpeed(0).has_value());
    EXPECT_FALSE(platform::termiosSpeed(4801).has_value());
}

TEST_F(TermiosSerialBackendTest, WriteArrivesAtTheOtherEnd) {
    ASSERT_TRUE(openPort());
    const std::string command = "DA\r";
    EXPECT_TRUE(backend.write(reinterpret_cast<const uint8_t*>(command.data()), command.size()));
    EXPECT_EQ(pty.receive(300), command);
}

TEST_F(TermiosSerialBackendTest, PurgeOnAPtyKeepsWhatWasSent) {
    ASSERT_TRUE(openPort());
    const std::string command = "PROG\r";
    ASSERT_TRUE(backend.write(reinterpret_cast<const uint8_t*>(command.data()), command.size()));
    EXPECT_TRUE(backend.purge());
    EXPECT_EQ(pty.receive(300), command);
}

TEST_F(TermiosSerialBackendTest, WriteGivesUpWhenNobodyReads) {
    ASSERT_TRUE(openPort(4800, 200));
    const std::vector<uint8_t> flood(1 << 20, 'x');
    const auto start = Clock::now();
    EXPECT_FALSE(backend.write(flood.data(), flood.size()));
    EXPECT_LT(msSince(start), 3000);
    EXPECT_GE(msSince(start), 150);
    EXPECT_TRUE(backend.isOpen());
}

TEST_F(TermiosSerialBackendTest, ReadsACompleteReplyBeforeTheTimeOut) {
    ASSERT_TRUE(openPort(4800, 1000));
    pty.send("3C6D28\r");
    bool ok = false;
    const auto start = Clock::now();
    EXPECT_EQ(readBytes(7, ok), "3C6D28\r");
    EXPECT_TRUE(ok);
    EXPECT_LT(msSince(start), 800);
}

TEST_F(TermiosSerialBackendTest, CollectsBytesThatArriveInPieces) {
    ASSERT_TRUE(openPort(4800, 2000));
    pty.send("00C");
    std::thread late([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        pty.send("85A\r");
    });
    bool ok = false;
    const std::string got = readBytes(7, ok);
    late.join();
    EXPECT_TRUE(ok);
    EXPECT_EQ(got, "00C85A\r");
}

TEST_F(TermiosSerialBackendTest, ShortReplyTimesOutWithTheCount) {
    ASSERT_TRUE(openPort(4800, 200));
    pty.send("123456");
    bool ok = true;
    const auto start = Clock::now();
    const std::string got = readBytes(7, ok);
    const int64_t elapsed = msSince(start);
    EXPECT_FALSE(ok);
    EXPECT_EQ(got, "123456");
    EXPECT_EQ(backend.lastError().code, 0);
    EXPECT_GE(elapsed, 190);
    EXPECT_LT(elapsed, 2000);
    EXPECT_TRUE(backend.isOpen());
}

TEST_F(TermiosSerialBackendTest, SilentDeviceTimesOutAfterTheTimeOut) {
    ASSERT_TRUE(openPort(4800, 50));
    bool ok = true;
    const auto start = Clock::now();
    EXPECT_EQ(readBytes(1, ok), "");
    EXPECT_FALSE(ok);
    EXPECT_GE(msSince(start), 45);
    EXPECT_LT(msSince(start), 1000);
    EXPECT_EQ(backend.lastError().code, 0);
}

TEST_F(TermiosSerialBackendTest, PurgeDiscardsReceivedBytes) {
    ASSERT_TRUE(openPort(4800, 100));
    pty.send("stale\r");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(backend.purge());
    pty.send("fresh\r");
    bool ok = false;
    EXPECT_EQ(readBytes(6, ok), "fresh\r");
    EXPECT_TRUE(ok);
}

TEST_F(TermiosSerialBackendTest, RtsOnAPtyIsReportedAsFailed) {
    ASSERT_TRUE(openPort());
    EXPECT_FALSE(backend.setRts(true));
    EXPECT_NE(backend.lastError().code, 0);
    EXPECT_FALSE(backend.setRts(false));
    EXPECT_TRUE(backend.isOpen());
}

TEST_F(TermiosSerialBackendTest, HangUpFailsTheReadAtOnce) {
    ASSERT_TRUE(openPort(4800, 3000));
    pty.closeMaster();
    bool ok = true;
    const auto start = Clock::now();
    readBytes(7, ok);
    EXPECT_FALSE(ok);
    EXPECT_NE(backend.lastError().code, 0);
    EXPECT_LT(msSince(start), 2000);
}

TEST_F(TermiosSerialBackendTest, HangUpFailsTheWriteAndNamesTheDevice) {
    ASSERT_TRUE(openPort(4800, 3000));
    pty.closeMaster();
    const std::string command = "VA\r";
    const auto start = Clock::now();
    EXPECT_FALSE(backend.write(reinterpret_cast<const uint8_t*>(command.data()), command.size()));
    EXPECT_EQ(backend.lastError().code, EIO);
    EXPECT_NE(backend.lastError().message.find(pty.path()), std::string::npos)
        << backend.lastError().message;
    EXPECT_LT(msSince(start), 2000);
}

TEST_F(TermiosSerialBackendTest, RequestsOnAClosedPortFailAtOnce) {
    uint8_t byte = 0;
    size_t received = 7;
    EXPECT_FALSE(backend.read(&byte, 1, received));
    EXPECT_EQ(received, 0u);
    EXPECT_NE(backend.lastError().code, 0);
    EXPECT_FALSE(backend.write(&byte, 1));
    EXPECT_FALSE(backend.purge());
    EXPECT_FALSE(backend.setRts(true));
}

}  // namespace
