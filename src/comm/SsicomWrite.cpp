#include <algorithm>
#include <cctype>

#include "comm/RegisterTable.h"
#include "comm/SensorRules.h"
#include "comm/Ssicom.h"

namespace {
constexpr int WriteAttempts = 5;
constexpr int WritePauseMs = 50;
constexpr int SecErrorPauseMs = 100;
constexpr int TeachPauseMs = 250;
constexpr int LinTablePauseMs = 100;

bool isHexArgument(const std::string& text) {
    return text.size() == 8 && std::all_of(text.begin(), text.end(), [](char c) {
               return std::isxdigit(static_cast<unsigned char>(c));
           });
}

}  // namespace

bool TSSICom::WriteRegister(RegisterIndex r) {
    switch (r) {
        case Length:
            return WriteLength();
        case Model:
            return WriteModel();
        case FactoryNumber:
            return WriteFactoryNumber();
        case SecErrorValue:
            return WriteSecErrorValue();
        case LinStartValue:
            return WriteLinStartValue();
        case SSISampleTime:
        case FirmwareVersion:
        case OperatingTime:
        case StartPoint:
        case EndPoint:
        case LinTableByte:
        case LinTableAddress:
        case RegisterCount:
            return false;
        default:
            return r >= 0 && r < RegisterCount && WriteWord(r);
    }
}

bool TSSICom::Retry(int pauseMs, const std::function<bool()>& attempt) {
    for (int i = 0; i < WriteAttempts; ++i) {
        if (attempt()) {
            return true;
        }
        if (pauseMs > 0) {
            clock().sleep(pauseMs);
        }
    }
    return false;
}

// Against the demo port the value written stays in the table, also for the
// registers whose read decodes the stored reply.
bool TSSICom::Finish(RegisterIndex r, int32_t desired, bool ok) {
    if (ok) {
        parameters_[r].Answered = 1;
        if (IsDemo()) {
            parameters_[r].Value = desired;
        }
    }
    return ok;
}

// A value outside its field would change the neighbours in the shared word or
// leave another value in the sensor; it is never sent.
bool TSSICom::FitsField(RegisterIndex r, int32_t desired) const {
    const DataElement& reg = parameters_[r];
    switch (comm::registerInfo(r).encoding) {
        case comm::Encoding::Decimal:
            return desired >= 0 && ToDecimal(desired, 0).size() <= size_t(ReplyLength(r));
        case comm::Encoding::Signed24:
            return rules::Signed24Range.contains(desired);
        default: {
            const auto value = static_cast<uint32_t>(desired);
            const uint32_t placed = value << reg.Shift;
            return (placed >> reg.Shift) == value && (placed & ~reg.Mask) == 0;
        }
    }
}

std::string TSSICom::FormatWord(RegisterIndex r, int32_t desired) const {
    const DataElement& reg = parameters_[r];
    const int digits = ReplyLength(r);
    switch (comm::registerInfo(r).encoding) {
        case comm::Encoding::Decimal:
            return ToDecimal(desired, digits);
        case comm::Encoding::Signed24:
            return ToHex(static_cast<uint32_t>(desired) & 0x00FFFFFF, digits);
        default: {
            const uint32_t field = (static_cast<uint32_t>(desired) << reg.Shift) & reg.Mask;
            return ToHex(field | (HexToInt(reg.Reply) & ~reg.Mask), digits);
        }
    }
}

// The value is already back in the table; when it never reached the sensor it
// is not the sensor's, whatever the read before the write answered.
bool TSSICom::SendValue(RegisterIndex r, const std::string& command) {
    if (SendCommand(command)) {
        return true;
    }
    parameters_[r].Answered = 0;
    return false;
}

bool TSSICom::WriteWord(RegisterIndex r) {
    DataElement& reg = parameters_[r];
    const int32_t desired = reg.Value;
    reg.Answered = 0;
    if (!FitsField(r, desired)) {
        return false;
    }
    // BitWidth reads once up front and then builds on each read-back; a read-back
    // that failed leaves no word to build on, so the next attempt reads again.
    const bool buildOnReadBack = r == BitWidth;
    bool wordKnown = buildOnReadBack && ReadRegister(r);
    if (buildOnReadBack && !wordKnown) {
        return false;
    }
    const bool ok = Retry(WritePauseMs, [&] {
        if (!wordKnown && !ReadRegister(r)) {
            return false;
        }
        const std::string command = reg.WriteCommand + FormatWord(r, desired);
        reg.Value = desired;
        if (!SendValue(r, command)) {
            wordKnown = buildOnReadBack;
            return false;
        }
        const bool readBack = ReadRegister(r);
        wordKnown = buildOnReadBack && readBack;
        return readBack && (reg.Value == desired || IsDemo());
    });
    return Finish(r, desired, ok);
}

bool TSSICom::WriteLength() {
    DataElement& reg = parameters_[Length];
    const int32_t desired = reg.Value;
    const std::string code = comm::encodeLengthCode(desired);
    reg.Answered = 0;
    if (code.empty()) {
        return false;
    }
    const bool ok = Retry(WritePauseMs, [&] {
        if (!ReadRegister(Length)) {
            return false;
        }
        const std::string command = reg.WriteCommand + reg.Reply.substr(0, 2) + code;
        reg.Value = desired;
        return SendValue(Length, command) && ReadRegister(Length) &&
               (reg.Value == desired || IsDemo());
    });
    return Finish(Length, desired, ok);
}

bool TSSICom::WriteModel() {
    DataElement& reg = parameters_[Model];
    const int32_t desired = reg.Value;
    reg.Answered = 0;
    // Nothing confirms a model write: a value that is no model code is not sent at all.
    if (!rules::IsModelValue(desired)) {
        return false;
    }
    const std::string letters{static_cast<char>(desired >> 8), static_cast<char>(desired & 0xFF)};
    const bool ok = Retry(WritePauseMs, [&] {
        if (!ReadRegister(Model)) {
            return false;
        }
        const std::string lengthCode = reg.Reply.size() > 2 ? reg.Reply.substr(2) : "";
        reg.Value = desired;
        return SendValue(Model, reg.WriteCommand + letters + lengthCode);
    });
    return Finish(Model, desired, ok);
}

bool TSSICom::WriteFactoryNumber() {
    DataElement& reg = parameters_[FactoryNumber];
    std::string text = reg.Reply;
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (text.size() < rules::FactoryNumberChars) {
        text.insert(0, rules::FactoryNumberChars - text.size(), '0');
    }
    reg.Answered = 0;
    if (text.size() != rules::FactoryNumberChars || !comm::replyFits(FactoryNumber, text)) {
        return false;
    }
    const bool ok = Retry(WritePauseMs, [&] {
        return SendCommand(reg.WriteCommand + text) && ReadRegister(FactoryNumber) &&
               (reg.Reply == text || IsDemo());
    });
    return Finish(FactoryNumber, reg.Value, ok);
}

bool TSSICom::WriteSecErrorValue() {
    DataElement& reg = parameters_[SecErrorValue];
    const std::string command = reg.WriteCommand + (reg.Value != 0 ? "30000000" : "20000000");
    reg.Answered = 0;
    const bool ok = Retry(0, [&] {
        if (!SendCommand(command)) {
            return false;
        }
        clock().sleep(SecErrorPauseMs);
        std::string confirmation;
        return IsDemo() || (ReceiveReply(3, confirmation) && ReadRegister(SecErrorValue));
    });
    reg.Answered = ok;
    return ok;
}

bool TSSICom::WriteLinStartValue() {
    DataElement& reg = parameters_[LinStartValue];
    const int32_t desired = reg.Value;
    reg.Answered = 0;
    if (!FitsField(LinStartValue, desired)) {
        return false;
    }
    const std::string command = reg.WriteCommand + FormatWord(LinStartValue, desired);
    const bool ok = Retry(0, [&] {
        SendCommand(command);
        return ReadRegister(LinStartValue) && (reg.Value == desired || IsDemo());
    });
    return Finish(LinStartValue, desired, ok);
}

bool TSSICom::WriteLinTableByte(int address) {
    if (address < ParameterSet::LinTableFirstAddress ||
        address > ParameterSet::LinTableLastAddress) {
        return false;
    }
    DataElement& reg = parameters_[LinTableByte];
    const int32_t desired = reg.Value & 0xFF;
    reg.Value = desired;
    const std::string command = reg.WriteCommand + ToHex(static_cast<uint32_t>(address), 4) +
                                ToHex(static_cast<uint32_t>(desired), 4);
    return Retry(0, [&] {
        if (!SendCommand(command)) {
            return false;
        }
        Purge();
        clock().sleep(LinTablePauseMs);
        return ReadLinTableByte(address) && reg.Value == desired;
    });
}

bool TSSICom::TeachStartPoint(const std::string& argument) {
    return Teach(StartPoint, argument);
}

bool TSSICom::TeachEndPoint(const std::string& argument) {
    return Teach(EndPoint, argument);
}

bool TSSICom::Teach(RegisterIndex r, const std::string& argument) {
    DataElement& reg = parameters_[r];
    if (!isHexArgument(argument)) {
        reg.Answered = 0;
        return false;
    }
    const std::string command = reg.WriteCommand + argument;
    const bool ok = Retry(0, [&] {
        if (!SendCommand(command)) {
            return false;
        }
        clock().sleep(TeachPauseMs);
        std::string confirmation;
        return IsDemo() || (ReceiveReply(3, confirmation) && confirmation == "06");
    });
    reg.Answered = ok;
    return ok;
}

bool TSSICom::EnterBootloader() {
    return SendCommand("BN\r");
}
