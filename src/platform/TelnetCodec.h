#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

namespace telnet {
constexpr uint8_t Iac = 255;
constexpr uint8_t Dont = 254;
constexpr uint8_t Do = 253;
constexpr uint8_t Wont = 252;
constexpr uint8_t Will = 251;
constexpr uint8_t Sb = 250;
constexpr uint8_t Se = 240;

constexpr uint8_t Binary = 0;
constexpr uint8_t SuppressGoAhead = 3;
constexpr uint8_t ComPort = 44;
}  // namespace telnet

// The client commands of the COM-port option; the server acknowledges each with
// the same command plus ServerOffset and the value it now uses.
namespace comport {
constexpr uint8_t SetBaudRate = 1;
constexpr uint8_t SetDataSize = 2;
constexpr uint8_t SetParity = 3;
constexpr uint8_t SetStopSize = 4;
constexpr uint8_t SetControl = 5;
constexpr uint8_t PurgeData = 12;
constexpr uint8_t ServerOffset = 100;

constexpr uint8_t ParityNone = 1;
constexpr uint8_t OneStopBit = 1;
constexpr uint8_t NoFlowControl = 1;
constexpr uint8_t RtsOn = 11;
constexpr uint8_t RtsOff = 12;
constexpr uint8_t PurgeReceived = 1;
}  // namespace comport

// A COM-port message the server sent: its command and value as received.
struct ComPortReply {
    uint8_t command = 0;
    std::vector<uint8_t> value;
    bool operator==(const ComPortReply&) const = default;
};

// The byte level of a Telnet client with the COM-port option: it separates the
// line's data from the Telnet commands in what the server sends, answers the
// server's option requests, and frames what the client sends. It knows no socket.
class TelnetCodec {
public:
    TelnetCodec();

    // What the client announces when the connection opens: it will use the
    // COM-port option, and both sides send 8-bit data without go-aheads.
    std::vector<uint8_t> greeting();

    // Takes bytes as they arrived, split anywhere; appends the line's data to
    // `data`. Answers to the server's requests and its COM-port messages are
    // collected for takeAnswers() and takeReplies().
    void receive(const uint8_t* bytes, size_t n, std::vector<uint8_t>& data);
    std::vector<uint8_t> takeAnswers();
    std::vector<ComPortReply> takeReplies();

    // Whether the server agreed to (true), refused (false) or not yet answered
    // the client's use of the COM-port option.
    bool comPortAnswered() const;
    bool comPortAccepted() const;

    // The line's data with every 0xFF doubled.
    static void escape(const uint8_t* bytes, size_t n, std::vector<uint8_t>& out);
    // IAC SB COM-PORT command value IAC SE, the value escaped.
    static std::vector<uint8_t> comPortCommand(uint8_t command, const std::vector<uint8_t>& value);

    // Subnegotiations longer than this are cut; no COM-port message comes near it.
    static constexpr size_t MaxSubnegotiation = 64;

private:
    enum class Parse { Data, Command, Option, SubOption, SubData, SubCommand };
    enum class Side : uint8_t { No, WantYes, Yes };

    void command(uint8_t byte);
    void option(uint8_t byte);
    void subData(uint8_t byte);
    void subCommand(uint8_t byte);
    void endSubnegotiation();
    void serverAsks(uint8_t verb, uint8_t opt);
    void answer(uint8_t verb, uint8_t opt);

    static bool clientOffers(uint8_t opt);
    static bool clientAccepts(uint8_t opt);

    Parse parse_ = Parse::Data;
    uint8_t verb_ = 0;
    uint8_t subOption_ = 0;
    std::vector<uint8_t> sub_;
    std::array<Side, 256> local_{};   // the options this client uses
    std::array<Side, 256> remote_{};  // the options the server uses
    std::vector<uint8_t> answers_;
    std::vector<ComPortReply> replies_;
};

}  // namespace platform
