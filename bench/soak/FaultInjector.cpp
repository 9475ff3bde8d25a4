#include "bench/soak/FaultInjector.h"

#include <string_view>

namespace soak {

namespace {

constexpr int64_t LatestUnplugMs = 1500;
constexpr int64_t LongestUnplugMs = 1500;

constexpr std::string_view Digits = "0123456789";
constexpr std::string_view HexDigits = "0123456789ABCDEF";
constexpr std::string_view Letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view LettersAndDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr std::string_view LengthCodeEnds = "0123456789CF";
// Bytes no reply holds anywhere: not printable, not ASCII.
constexpr std::string_view Unprintable = "\x01\x07\x1B\x7F\x80\xC4\xFF";
// Printable characters that no number of the protocol holds.
constexpr std::string_view NoDigit = "GXgx-: ?";
constexpr std::string_view NotCarriageReturn = "\n 0A";

// What a reply to `command` may hold at `position`, as the sensor formats it.
std::string_view ValidAt(const std::string& command, size_t position) {
    if (command == "AA" || command == "UA")
        return Digits;
    if (command == "FA")
        return LettersAndDigits;
    if (command == "LA") {
        if (position < 2)
            return Letters;
        return position == 5 ? LengthCodeEnds : Digits;
    }
    return HexDigits;
}

// Characters that make the reply invalid at `position`; the model letters and
// the factory number are plain text, where only unprintable bytes are wrong.
std::string InvalidAt(const std::string& command, size_t position) {
    std::string invalid(Unprintable);
    const bool text = command == "FA" || (command == "LA" && position < 2);
    if (!text)
        invalid += NoDigit;
    return invalid;
}

bool IsValueWrite(const std::string& line) {
    return line.size() > 2 && line[1] == 'N';
}

}  // namespace

const char* FaultName(FaultKind kind) {
    switch (kind) {
        case FaultKind::ReplyLost:
            return "reply lost";
        case FaultKind::CorruptedInvalid:
            return "reply corrupted (invalid)";
        case FaultKind::CorruptedValid:
            return "reply corrupted (still valid)";
        case FaultKind::CutShort:
            return "reply cut short";
        case FaultKind::MissingCarriageReturn:
            return "carriage return missing";
        case FaultKind::ZeroByte:
            return "zero byte in reply";
        case FaultKind::WriteRefused:
            return "value refused";
        case FaultKind::Unplugged:
            return "unplugged and replugged";
        case FaultKind::Count:
            break;
    }
    return "";
}

FaultInjector::FaultInjector(std::mt19937_64& random, FaultRates rates)
    : random_(random), rates_(rates) {}

void FaultInjector::Attach(sim::Faults& faults) {
    faults.refuses = [this](const std::string& line) { return Refuse(line); };
    faults.tamperReply = [this](const std::string& command, std::string& wire) {
        Tamper(command, wire);
    };
}

bool FaultInjector::Chance(double p) {
    return p > 0 && std::uniform_real_distribution<double>(0, 1)(random_) < p;
}

void FaultInjector::Count(FaultKind kind, const std::string& command) {
    ++counts_[static_cast<size_t>(kind)];
    ++injected_;
    log_ += (log_.empty() ? "" : "; ") + command + ": " + FaultName(kind);
}

void FaultInjector::BeginOperation(sim::InProcessBackend& backend, int64_t nowMs) {
    validCorruptions_ = 0;
    injected_ = 0;
    refusedModelWrite_ = false;
    log_.clear();
    if (!Chance(rates_.perOperation))
        return;
    const int64_t from = nowMs + std::uniform_int_distribution<int64_t>(0, LatestUnplugMs)(random_);
    backend.unplugBetween(
        from, from + std::uniform_int_distribution<int64_t>(1, LongestUnplugMs)(random_));
    Count(FaultKind::Unplugged, "from " + std::to_string(from) + " ms");
}

bool FaultInjector::Refuse(const std::string& line) {
    if (!IsValueWrite(line) || !Chance(rates_.perWrite))
        return false;
    Count(FaultKind::WriteRefused, line);
    if (line.starts_with("LN"))
        refusedModelWrite_ = true;
    return true;
}

size_t FaultInjector::PayloadPosition(const std::string& wire) {
    return std::uniform_int_distribution<size_t>(0, wire.size() - 2)(random_);
}

void FaultInjector::Tamper(const std::string& command, std::string& wire) {
    if (wire.size() < 2 || !Chance(rates_.perReply))
        return;
    const auto kind = static_cast<FaultKind>(
        std::uniform_int_distribution<int>(0, static_cast<int>(FaultKind::ZeroByte))(random_));
    Count(kind, command);
    switch (kind) {
        case FaultKind::ReplyLost:
            wire.clear();
            break;
        case FaultKind::CorruptedInvalid:
        case FaultKind::CorruptedValid:
            Corrupt(command, wire, kind == FaultKind::CorruptedValid);
            break;
        case FaultKind::CutShort:
            wire.resize(std::uniform_int_distribution<size_t>(1, wire.size() - 1)(random_));
            break;
        case FaultKind::MissingCarriageReturn:
            wire.back() = NotCarriageReturn[std::uniform_int_distribution<size_t>(
                0, NotCarriageReturn.size() - 1)(random_)];
            break;
        case FaultKind::ZeroByte:
            wire[PayloadPosition(wire)] = '\0';
            break;
        default:
            break;
    }
}

// A valid corruption takes another character of those the reply may hold there.
void FaultInjector::Corrupt(const std::string& command, std::string& wire, bool valid) {
    const size_t position = PayloadPosition(wire);
    const char original = wire[position];
    std::string choices;
    if (valid) {
        for (const char c : ValidAt(command, position))
            if (c != original)
                choices += c;
    } else {
        choices = InvalidAt(command, position);
    }
    wire[position] = choices[std::uniform_int_distribution<size_t>(0, choices.size() - 1)(random_)];
    if (valid)
        ++validCorruptions_;
}

}  // namespace soak
