#include "TelnetCodec.h"

#include <utility>

namespace platform {

using namespace telnet;

TelnetCodec::TelnetCodec() {
    local_.fill(Side::No);
    remote_.fill(Side::No);
}

std::vector<uint8_t> TelnetCodec::greeting() {
    std::vector<uint8_t> out;
    for (uint8_t opt : {ComPort, Binary, SuppressGoAhead}) {
        if (local_[opt] == Side::No) {
            local_[opt] = Side::WantYes;
            out.insert(out.end(), {Iac, Will, opt});
        }
    }
    for (uint8_t opt : {Binary, SuppressGoAhead}) {
        if (remote_[opt] == Side::No) {
            remote_[opt] = Side::WantYes;
            out.insert(out.end(), {Iac, Do, opt});
        }
    }
    return out;
}

bool TelnetCodec::clientOffers(uint8_t opt) {
    return opt == ComPort || opt == Binary || opt == SuppressGoAhead;
}

bool TelnetCodec::clientAccepts(uint8_t opt) {
    return opt == Binary || opt == SuppressGoAhead;
}

bool TelnetCodec::comPortAnswered() const {
    return local_[ComPort] != Side::WantYes;
}

bool TelnetCodec::comPortAccepted() const {
    return local_[ComPort] == Side::Yes;
}

void TelnetCodec::receive(const uint8_t* bytes, size_t n, std::vector<uint8_t>& data) {
    for (size_t i = 0; i < n; ++i) {
        const uint8_t byte = bytes[i];
        switch (parse_) {
            case Parse::Data:
                if (byte == Iac)
                    parse_ = Parse::Command;
                else
                    data.push_back(byte);
                break;
            case Parse::Command:
                if (byte == Iac) {
                    data.push_back(byte);
                    parse_ = Parse::Data;
                } else {
                    command(byte);
                }
                break;
            case Parse::Option:
                option(byte);
                break;
            case Parse::SubOption:
                subOption_ = byte;
                sub_.clear();
                parse_ = Parse::SubData;
                break;
            case Parse::SubData:
                subData(byte);
                break;
            case Parse::SubCommand:
                subCommand(byte);
                break;
        }
    }
}

// After IAC: an option request, the start of a subnegotiation, or a command
// without meaning for a serial line (NOP, go-ahead, ...), which is dropped.
void TelnetCodec::command(uint8_t byte) {
    if (byte >= Will && byte <= Dont) {
        verb_ = byte;
        parse_ = Parse::Option;
    } else if (byte == Sb) {
        parse_ = Parse::SubOption;
    } else {
        parse_ = Parse::Data;
    }
}

void TelnetCodec::option(uint8_t byte) {
    serverAsks(verb_, byte);
    parse_ = Parse::Data;
}

void TelnetCodec::subData(uint8_t byte) {
    if (byte == Iac) {
        parse_ = Parse::SubCommand;
    } else if (sub_.size() < MaxSubnegotiation) {
        sub_.push_back(byte);
    }
}

void TelnetCodec::subCommand(uint8_t byte) {
    if (byte == Iac) {
        if (sub_.size() < MaxSubnegotiation)
            sub_.push_back(byte);
        parse_ = Parse::SubData;
        return;
    }
    // IAC SE ends it; any other command also ends a subnegotiation that lost its SE.
    endSubnegotiation();
    if (byte == Se)
        parse_ = Parse::Data;
    else
        command(byte);
}

void TelnetCodec::endSubnegotiation() {
    if (subOption_ == ComPort && !sub_.empty())
        replies_.push_back({sub_.front(), std::vector<uint8_t>(sub_.begin() + 1, sub_.end())});
    sub_.clear();
}

// Answers by the rules that keep two Telnet ends from looping: a request for
// the state an option already has, or was asked for, is not answered.
void TelnetCodec::serverAsks(uint8_t verb, uint8_t opt) {
    const bool aboutClient = verb == Do || verb == Dont;
    Side& side = aboutClient ? local_[opt] : remote_[opt];
    const bool wants = verb == Do || verb == Will;
    if (wants) {
        if (side == Side::Yes)
            return;
        if (side == Side::WantYes) {
            side = Side::Yes;
            return;
        }
        const bool agree = aboutClient ? clientOffers(opt) : clientAccepts(opt);
        side = agree ? Side::Yes : Side::No;
        if (aboutClient)
            answer(agree ? Will : Wont, opt);
        else
            answer(agree ? Do : Dont, opt);
        return;
    }
    if (side == Side::No)
        return;
    const bool wasOn = side == Side::Yes;
    side = Side::No;
    if (wasOn)
        answer(aboutClient ? Wont : Dont, opt);
}

void TelnetCodec::answer(uint8_t verb, uint8_t opt) {
    answers_.insert(answers_.end(), {Iac, verb, opt});
}

std::vector<uint8_t> TelnetCodec::takeAnswers() {
    return std::exchange(answers_, {});
}

std::vector<ComPortReply> TelnetCodec::takeReplies() {
    return std::exchange(replies_, {});
}

void TelnetCodec::escape(const uint8_t* bytes, size_t n, std::vector<uint8_t>& out) {
    for (size_t i = 0; i < n; ++i) {
        out.push_back(bytes[i]);
        if (bytes[i] == Iac)
            out.push_back(Iac);
    }
}

std::vector<uint8_t> TelnetCodec::comPortCommand(uint8_t command,
                                                 const std::vector<uint8_t>& value) {
    std::vector<uint8_t> out = {Iac, Sb, ComPort, command};
    escape(value.data(), value.size(), out);
    out.insert(out.end(), {Iac, Se});
    return out;
}

}  // namespace platform
