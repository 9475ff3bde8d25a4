#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "comm/ParameterSet.h"
#include "comm/Serialcom.h"

// The sensor's command protocol and its register table.
class TSSICom : public TSerialCom {
public:
    // The register names as the rest of the program spells them: TSSICom::BitWidth.
    using RegisterIndex = ParameterSet::RegisterIndex;
    using enum ParameterSet::RegisterIndex;
    using DataElement = ParameterSet::DataElement;

    // Teach arguments of the range points.
    static constexpr const char* SetStartPointArg = "00000000";
    static constexpr const char* SetEndPointArg = "80000000";
    static constexpr const char* DeleteStartPointArg = "40000000";
    static constexpr const char* DeleteEndPointArg = "C0000000";

    TSSICom(platform::SerialBackend& backend, platform::Clock& clock,
            const platform::ComPortMap& ports);

    ParameterSet& Parameters() { return parameters_; }
    const ParameterSet& Parameters() const { return parameters_; }

    DataElement& operator[](RegisterIndex r) { return parameters_[r]; }
    const DataElement& operator[](RegisterIndex r) const { return parameters_[r]; }

    void ResetTable() { parameters_.ResetTable(); }
    void LoadDemoSet() { parameters_.LoadDemoSet(); }
    static const char* RegisterKey(RegisterIndex r) { return ParameterSet::RegisterKey(r); }
    int ReplyLength(RegisterIndex r) const { return parameters_.ReplyLength(r); }
    int FirmwareVersionNumber() const { return parameters_.FirmwareVersionNumber(); }
    int FirmwareType() const { return parameters_.FirmwareType(); }

    // Command primitives
    bool SendCommand(const std::string& command);
    bool ReceiveReply(int length, std::string& target);
    // Reads and drops bytes up to and including the next carriage return, at most
    // `maxBytes`; false when none arrives.
    bool SkipPastCarriageReturn(int maxBytes);
    bool SendRaw(const uint8_t* bytes, size_t count);
    bool WakeSensor();
    bool CheckPort();
    bool IsDemo() const { return PortNumber() == DemoPort; }

    // Conversions
    static uint32_t HexToInt(const std::string& text);
    static int32_t PrefixedHexToInt(const std::string& text);  // "0x" + text, -1 if invalid
    static int32_t SignExtend24(uint32_t raw);
    static std::string ToHex(uint32_t value, int digits);
    static std::string ToDecimal(int64_t value, int digits);

    // Register operations. SSISampleTime, LinTableByte and LinTableAddress have no
    // read of their own, and only the registers written by a value have a
    // WriteRegister; the others report false at once without any traffic.
    bool ReadRegister(RegisterIndex r);
    bool WriteRegister(RegisterIndex r);
    bool ReadLinTableByte(int address);
    bool WriteLinTableByte(int address);
    bool TeachStartPoint(const std::string& argument);
    bool TeachEndPoint(const std::string& argument);
    bool EnterBootloader();

    // Whole set and EEPROM
    bool ReadParameterSet();
    bool ReadParameterSetStrict();
    // True when every register that answered its last read was written and confirmed.
    bool WriteParameterSet();
    // Whether WriteParameterSet writes the register (when it answered its last read).
    static bool WrittenBySet(RegisterIndex r);
    // False when the command could not be sent; the sensor itself confirms nothing.
    bool CommitToEeprom();
    bool WriteFactorySettings();
    bool ReadFactorySettings();
    // CommitToEeprom or WriteFactorySettings, as the firmware commits.
    bool Commit();

private:
    enum class Exchange { Failed, Received, Demo };
    struct Range {
        RegisterIndex first;
        RegisterIndex last;
    };

    bool WriteLine(const uint8_t* bytes, size_t count);
    bool EndCutCommand();
    void SkipRestOfShiftedReply(const std::vector<uint8_t>& reply);
    Exchange ReadExchange(RegisterIndex r, const std::string& command);
    void Decode(RegisterIndex r);
    void DecodeSampleTime(RegisterIndex r, uint32_t raw);

    bool Retry(int pauseMs, const std::function<bool()>& attempt);
    bool Finish(RegisterIndex r, int32_t desired, bool ok);
    bool FitsField(RegisterIndex r, int32_t desired) const;
    std::string FormatWord(RegisterIndex r, int32_t desired) const;
    bool SendValue(RegisterIndex r, const std::string& command);
    bool WriteWord(RegisterIndex r);
    bool WriteLength();
    bool WriteModel();
    bool WriteFactoryNumber();
    bool WriteSecErrorValue();
    bool WriteLinStartValue();
    bool Teach(RegisterIndex r, const std::string& argument);

    bool ReadForSet(RegisterIndex r);
    bool ReadAll(std::initializer_list<RegisterIndex> registers);
    bool ReadResolutionForSet();
    bool ReadSet(std::initializer_list<RegisterIndex> counted,
                 std::initializer_list<RegisterIndex> ignored);
    bool SendEepromCommand(const char* command, std::initializer_list<Range> cleared, int pauseMs);

    ParameterSet parameters_;
    // A command whose write failed on an open port may have reached the sensor
    // in part; before the next one a carriage return ends it, so that the two
    // never run together into another command.
    bool commandCut_ = false;
};
