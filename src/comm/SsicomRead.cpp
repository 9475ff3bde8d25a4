#include "comm/RegisterTable.h"
#include "comm/SensorRules.h"
#include "comm/Ssicom.h"

namespace {
constexpr int ReadAttempts = 5;
constexpr int BlankingReadAttempts = 6;
constexpr int ReplyPauseMs = 25;

bool hasOwnRead(TSSICom::RegisterIndex r) {
    return r >= 0 && r < TSSICom::RegisterCount && r != TSSICom::SSISampleTime &&
           r != TSSICom::LinTableByte && r != TSSICom::LinTableAddress;
}

// These two registers decode their stored reply also against the demo port.
bool decodesInDemo(TSSICom::RegisterIndex r) {
    return r == TSSICom::Blanking || r == TSSICom::LinStartValue;
}
}  // namespace

TSSICom::Exchange TSSICom::ReadExchange(RegisterIndex r, const std::string& command) {
    std::string& reply = parameters_[r].Reply;
    const int attempts = r == Blanking ? BlankingReadAttempts : ReadAttempts;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (!SendCommand(command)) {
            continue;
        }
        if (IsDemo()) {
            return Exchange::Demo;
        }
        if (r != OperatingTime) {
            clock().sleep(ReplyPauseMs);
        }
        if (ReceiveReply(ReplyLength(r) + 1, reply) && comm::replyFits(r, reply)) {
            return Exchange::Received;
        }
        reply.clear();
    }
    return Exchange::Failed;
}

bool TSSICom::ReadRegister(RegisterIndex r) {
    if (!hasOwnRead(r)) {
        return false;
    }
    DataElement& reg = parameters_[r];
    const Exchange outcome = ReadExchange(r, reg.ReadCommand);
    reg.Answered = outcome != Exchange::Failed;
    const bool demoDecode =
        outcome == Exchange::Demo && decodesInDemo(r) && comm::replyFits(r, reg.Reply);
    if (outcome == Exchange::Received || demoDecode) {
        Decode(r);
    }
    return outcome != Exchange::Failed;
}

void TSSICom::Decode(RegisterIndex r) {
    DataElement& reg = parameters_[r];
    const std::string& text = reg.Reply;
    const auto field = [&reg](uint32_t raw) {
        return static_cast<int32_t>((raw & reg.Mask) >> reg.Shift);
    };
    switch (comm::registerInfo(r).encoding) {
        case comm::Encoding::Hex:
            reg.Value = field(HexToInt(text));
            DecodeSampleTime(r, HexToInt(text));
            break;
        case comm::Encoding::Signed24:
            reg.Value = field(static_cast<uint32_t>(SignExtend24(HexToInt(text))));
            break;
        case comm::Encoding::Decimal:
            reg.Value = 0;
            comm::parseDecimal(text, reg.Value);
            break;
        case comm::Encoding::LengthWord:
            if (r == Model) {
                reg.Value =
                    static_cast<unsigned char>(text[0]) * 256 + static_cast<unsigned char>(text[1]);
            } else {
                comm::decodeLengthCode(text, reg.Value);
            }
            break;
        case comm::Encoding::Text:
            if (!comm::parseDecimal(text, reg.Value)) {
                reg.Value = -1;
            }
            break;
        case comm::Encoding::PrefixedHex:
            reg.Value = PrefixedHexToInt(text);
            break;
        case comm::Encoding::None:
            break;
    }
}

void TSSICom::DecodeSampleTime(RegisterIndex r, uint32_t raw) {
    int32_t& sampleTime = parameters_[SSISampleTime].Value;
    if (r == LinearizationFlags) {
        sampleTime = static_cast<int32_t>(raw >> 16);
    } else if (r == PowerfailTime && rules::HasSampleTimeInNarrowRaWord(FirmwareVersionNumber())) {
        sampleTime = static_cast<int32_t>((raw >> 8) & 0xFFFF);
    }
}

bool TSSICom::ReadLinTableByte(int address) {
    if (address < ParameterSet::LinTableFirstAddress ||
        address > ParameterSet::LinTableLastAddress) {
        return false;
    }
    DataElement& reg = parameters_[LinTableByte];
    const Exchange outcome = ReadExchange(
        LinTableByte, reg.ReadCommand + ToHex(static_cast<uint32_t>(address), 4) + "00");
    reg.Answered = outcome != Exchange::Failed;
    if (outcome != Exchange::Received) {
        return outcome == Exchange::Demo;
    }
    const auto raw = static_cast<uint32_t>(PrefixedHexToInt(reg.Reply));
    const auto echoed = static_cast<int32_t>((raw & 0x0001FF00) >> 8);
    parameters_[LinTableAddress].Value = echoed;
    reg.Value = static_cast<int32_t>(raw & 0xFF);
    if (echoed != address) {
        return false;
    }
    parameters_.LinTableImage[address - ParameterSet::LinTableFirstAddress] =
        static_cast<uint8_t>(reg.Value);
    return true;
}
