#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/NetworkPort.h"
#include "platform/TelnetCodec.h"

namespace {

using platform::ComPortReply;
using platform::TelnetCodec;
using Bytes = std::vector<uint8_t>;

constexpr uint8_t IAC = 255, DONT = 254, DO = 253, WONT = 252, WILL = 251, SB = 250, SE = 240;
constexpr uint8_t NOP = 241, GA = 249;

struct Received {
    Bytes data;
    Bytes answers;
    std::vector<ComPortReply> replies;
};

// Feeds the bytes in pieces of `piece` bytes (0: all at once).
Received feed(TelnetCodec& codec, const Bytes& bytes, size_t piece = 0) {
    Received got;
    const size_t step = piece == 0 ? bytes.size() : piece;
    for (size_t at = 0; at < bytes.size(); at += step)
        codec.receive(bytes.data() + at, std::min(step, bytes.size() - at), got.data);
    got.answers = codec.takeAnswers();
    got.replies = codec.takeReplies();
    return got;
}

TEST(TelnetCodec, EscapingDoublesEveryIacAndNothingElse) {
    struct Case {
        Bytes data;
        Bytes wire;
    } cases[] = {
        {{}, {}},
        {{'P', 'R', 'O', 'G', '\r'}, {'P', 'R', 'O', 'G', '\r'}},
        {{0xFF}, {0xFF, 0xFF}},
        {{0x00, 0xFF, 0xFF, 0xFE, 0xF0}, {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xF0}},
    };
    for (const auto& c : cases) {
        Bytes wire;
        TelnetCodec::escape(c.data.data(), c.data.size(), wire);
        EXPECT_EQ(wire, c.wire);
        TelnetCodec codec;
        EXPECT_EQ(feed(codec, wire).data, c.data) << "undoubled on receive";
    }
}

TEST(TelnetCodec, DataComesThroughWhateverTheSplitAcrossReads) {
    const Bytes wire = {'A', IAC, IAC, 'B', IAC, SB, 44, 101, 0,   0,   0x12, 0xC0, IAC,
                        SE,  'C', IAC, NOP, IAC, DO, 0,  IAC, IAC, IAC, GA,   'D'};
    for (size_t piece : {0u, 1u, 2u, 3u, 5u}) {
        TelnetCodec codec;
        const Received got = feed(codec, wire, piece);
        EXPECT_EQ(got.data, (Bytes{'A', 0xFF, 'B', 'C', 0xFF, 'D'})) << "pieces of " << piece;
        ASSERT_EQ(got.replies.size(), 1u) << "pieces of " << piece;
        EXPECT_EQ(got.replies[0], (ComPortReply{101, {0, 0, 0x12, 0xC0}}));
        EXPECT_EQ(got.answers, (Bytes{IAC, WILL, 0})) << "pieces of " << piece;
    }
}

TEST(TelnetCodec, GreetingOffersComPortBinaryAndNoGoAhead) {
    TelnetCodec codec;
    EXPECT_EQ(codec.greeting(),
              (Bytes{IAC, WILL, 44, IAC, WILL, 0, IAC, WILL, 3, IAC, DO, 0, IAC, DO, 3}));
    EXPECT_FALSE(codec.comPortAnswered());
    EXPECT_TRUE(codec.greeting().empty()) << "asked once";
}

// Each request from the server, in a fresh session and after the greeting.
TEST(TelnetCodec, NegotiationAnswersOnlyWhatChangesAnOption) {
    struct Case {
        const char* what;
        bool greeted;
        Bytes request;
        Bytes answer;
    } cases[] = {
        {"DO com-port unasked", false, {IAC, DO, 44}, {IAC, WILL, 44}},
        {"DO com-port asked", true, {IAC, DO, 44}, {}},
        {"DO binary unasked", false, {IAC, DO, 0}, {IAC, WILL, 0}},
        {"DO echo", false, {IAC, DO, 1}, {IAC, WONT, 1}},
        {"DO unknown option", true, {IAC, DO, 200}, {IAC, WONT, 200}},
        {"WILL echo", true, {IAC, WILL, 1}, {IAC, DONT, 1}},
        {"WILL binary asked", true, {IAC, WILL, 0}, {}},
        {"WILL binary unasked", false, {IAC, WILL, 0}, {IAC, DO, 0}},
        {"WILL sga twice", false, {IAC, WILL, 3, IAC, WILL, 3}, {IAC, DO, 3}},
        {"DONT for an option never on", false, {IAC, DONT, 1}, {}},
        {"WONT for an option never on", false, {IAC, WONT, 1}, {}},
        {"DONT binary after DO", false, {IAC, DO, 0, IAC, DONT, 0}, {IAC, WILL, 0, IAC, WONT, 0}},
        {"WONT sga after WILL", false, {IAC, WILL, 3, IAC, WONT, 3}, {IAC, DO, 3, IAC, DONT, 3}},
        {"DONT com-port asked", true, {IAC, DONT, 44}, {}},
        {"what ser2net sends first",
         true,
         {IAC, WILL, 3,  IAC, DO,  3,    IAC, WILL, 1,  IAC, DONT,
          1,   IAC,  DO, 0,   IAC, WILL, 0,   IAC,  DO, 44},
         {IAC, DONT, 1}},
    };
    for (const auto& c : cases) {
        TelnetCodec codec;
        if (c.greeted)
            codec.greeting();
        EXPECT_EQ(feed(codec, c.request).answers, c.answer) << c.what;
    }
}

TEST(TelnetCodec, ComPortStateFollowsTheServersAnswer) {
    struct Case {
        Bytes answer;
        bool answered;
        bool accepted;
    } cases[] = {
        {{}, false, false},
        {{IAC, DO, 44}, true, true},
        {{IAC, DONT, 44}, true, false},
        {{IAC, DO, 0}, false, false},
    };
    for (const auto& c : cases) {
        TelnetCodec codec;
        codec.greeting();
        feed(codec, c.answer);
        EXPECT_EQ(codec.comPortAnswered(), c.answered);
        EXPECT_EQ(codec.comPortAccepted(), c.accepted);
    }
}

TEST(TelnetCodec, SubnegotiationsGiveTheServersComPortMessages) {
    struct Case {
        const char* what;
        Bytes wire;
        std::vector<ComPortReply> replies;
        Bytes data;
    } cases[] = {
        {"baud rate", {IAC, SB, 44, 101, 0, 0, 0x96, 0, IAC, SE}, {{101, {0, 0, 0x96, 0}}}, {}},
        {"control", {IAC, SB, 44, 105, 1, IAC, SE, 'x'}, {{105, {1}}}, {'x'}},
        {"doubled IAC in a value",
         {IAC, SB, 44, 101, 0, 0, IAC, IAC, IAC, IAC, IAC, SE},
         {{101, {0, 0, 0xFF, 0xFF}}},
         {}},
        {"several",
         {IAC, SB, 44, 102, 8, IAC, SE, IAC, SB, 44, 103, 1, IAC, SE},
         {{102, {8}}, {103, {1}}},
         {}},
        {"another option", {IAC, SB, 24, 1, IAC, SE, 'y'}, {}, {'y'}},
        {"empty", {IAC, SB, 44, IAC, SE}, {}, {}},
        {"SE lost", {IAC, SB, 44, 112, 1, IAC, NOP, 'z'}, {{112, {1}}}, {'z'}},
        {"not ended yet", {IAC, SB, 44, 112, 1, 'q'}, {}, {}},
    };
    for (const auto& c : cases) {
        for (size_t piece : {0u, 1u}) {
            TelnetCodec codec;
            const Received got = feed(codec, c.wire, piece);
            EXPECT_EQ(got.replies, c.replies) << c.what;
            EXPECT_EQ(got.data, c.data) << c.what;
        }
    }
}

TEST(TelnetCodec, AnOverlongSubnegotiationIsCutAndParsingGoesOn) {
    Bytes wire = {IAC, SB, 44, 101};
    wire.insert(wire.end(), 1000, 7);
    wire.insert(wire.end(), {IAC, SE, 'k'});
    TelnetCodec codec;
    const Received got = feed(codec, wire);
    ASSERT_EQ(got.replies.size(), 1u);
    EXPECT_EQ(got.replies[0].value.size(), TelnetCodec::MaxSubnegotiation - 1);
    EXPECT_EQ(got.data, Bytes{'k'});
}

TEST(TelnetCodec, ComPortCommandsAreFramedWithTheirValueEscaped) {
    EXPECT_EQ(TelnetCodec::comPortCommand(1, {0, 0, 0x12, 0xC0}),
              (Bytes{IAC, SB, 44, 1, 0, 0, 0x12, 0xC0, IAC, SE}));
    EXPECT_EQ(TelnetCodec::comPortCommand(1, {0, 0xFF, 0, 0}),
              (Bytes{IAC, SB, 44, 1, 0, 0xFF, 0xFF, 0, 0, IAC, SE}));
    EXPECT_EQ(TelnetCodec::comPortCommand(5, {12}), (Bytes{IAC, SB, 44, 5, 12, IAC, SE}));
}

TEST(NetworkPort, AddressesAreParsedOrRefused) {
    using Kind = platform::NetworkPort::Kind;
    struct Case {
        std::string text;
        bool valid;
        Kind kind;
        std::string host;
        std::string service;
    } cases[] = {
        {"rfc2217://192.0.2.10:4001", true, Kind::Rfc2217, "192.0.2.10", "4001"},
        {"socket://pi.local:2000", true, Kind::Socket, "pi.local", "2000"},
        {"rfc2217://[::1]:4001", true, Kind::Rfc2217, "::1", "4001"},
        {"rfc2217://host", false, {}, {}, {}},
        {"rfc2217://:4001", false, {}, {}, {}},
        {"rfc2217://host:0", false, {}, {}, {}},
        {"rfc2217://host:65536", false, {}, {}, {}},
        {"rfc2217://host:40a1", false, {}, {}, {}},
        {"rfc2217://host/x:4001", false, {}, {}, {}},
        {"rfc2217://::1:4001", false, {}, {}, {}},
        {"telnet://host:23", false, {}, {}, {}},
        {"/dev/ttyUSB0", false, {}, {}, {}},
    };
    for (const auto& c : cases) {
        const auto port = platform::parseNetworkPort(c.text);
        ASSERT_EQ(port.has_value(), c.valid) << c.text;
        if (!port)
            continue;
        EXPECT_EQ(port->kind, c.kind) << c.text;
        EXPECT_EQ(port->host, c.host) << c.text;
        EXPECT_EQ(port->service, c.service) << c.text;
    }
    EXPECT_TRUE(platform::isNetworkPortText("rfc2217://host"));
    EXPECT_TRUE(platform::isNetworkPortText("socket://"));
    EXPECT_FALSE(platform::isNetworkPortText("/dev/rfc2217://x"));
}

}  // namespace
