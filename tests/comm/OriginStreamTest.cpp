#include "comm/OriginStream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "comm/Ssicom.h"
#include "platform/Clock.h"
#include "platform/ComPortMap.h"
#include "platform/SerialBackend.h"

namespace {

// A stream that pauses: each burst arrives at once, and a read that runs past
// the end of a burst times out with what it got. The next read starts on the next burst.
class BurstBackend final : public platform::SerialBackend {
public:
    BurstBackend(platform::VirtualClock& clock, std::vector<std::string> bursts) : clock_(clock) {
        for (const std::string& burst : bursts)
            bursts_.emplace_back(burst.begin(), burst.end());
    }

    bool open(const std::string&, int, int timeoutMs) override {
        timeoutMs_ = timeoutMs;
        return open_ = true;
    }
    bool probe(const std::string&) override { return true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    bool setRts(bool) override { return true; }
    bool purge() override { return true; }
    bool read(uint8_t* buffer, size_t n, size_t& received) override {
        received = 0;
        while (received < n && !bursts_.empty() && !bursts_.front().empty()) {
            buffer[received++] = bursts_.front().front();
            bursts_.front().pop_front();
        }
        if (received == n)
            return true;
        if (!bursts_.empty())
            bursts_.pop_front();
        clock_.sleep(timeoutMs_);
        return false;
    }
    bool write(const uint8_t*, size_t) override { return true; }
    const platform::SystemError& lastError() const override { return error_; }

private:
    platform::VirtualClock& clock_;
    std::deque<std::deque<uint8_t>> bursts_;
    platform::SystemError error_;
    bool open_ = false;
    int timeoutMs_ = 0;
};

struct StreamLink {
    explicit StreamLink(std::vector<std::string> bursts) : backend(clock, std::move(bursts)) {
        com.Open(1, 38400, 2000);
        com[TSSICom::BitWidth].Value = 32;
    }
    platform::VirtualClock clock;
    BurstBackend backend;
    platform::ComPortMap ports;
    TSSICom com{backend, clock, ports};
};

std::string Record(uint32_t counts) {
    char text[10];
    std::snprintf(text, sizeof text, "%08X\r", counts);
    return text;
}

// The first burst starts inside a record; reading resumes after its carriage return.
TEST(OriginStream, TheLastOfFiveRecordsGivesThePositionAndAMissingOneEndsNothing) {
    const struct {
        const char* name;
        std::vector<std::string> bursts;
        std::optional<int32_t> positionUm;
    } cases[] = {
        {"five records", {"0A\r" + Record(1) + Record(2) + Record(3) + Record(4) + Record(5)}, 50},
        {"a record missing in between",
         {"0A\r" + Record(1) + Record(2) + "0000", Record(4) + Record(5)},
         50},
        {"only the last record", {"0A\r", "", "", "", Record(7)}, 70},
        {"a sixth record is not read",
         {"\r" + Record(1) + Record(2) + Record(3) + Record(4) + Record(5) + Record(6)},
         50},
        {"a byte lost in a record",
         {"\r" + Record(1) + Record(2) + Record(3).substr(1) + Record(4) + Record(5) + Record(6)},
         60},
        {"no record", {"0A\r", "00"}, std::nullopt},
        {"no carriage return to start from", {"0000000000"}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StreamLink link(c.bursts);
        EXPECT_EQ(comm::OriginStream(link.com).ReadRecords(10), c.positionUm);
    }
}

TEST(OriginStream, ThePositionSitsInTheTopBitsOfTheWordAndKeepsItsSign) {
    StreamLink link({"\r" + Record(0xFFFFF000u)});
    link.com[TSSICom::BitWidth].Value = 20;
    EXPECT_EQ(comm::OriginStream(link.com).ReadRecords(5), -5);
}

}  // namespace
