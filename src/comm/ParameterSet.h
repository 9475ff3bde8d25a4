#pragma once

#include <array>
#include <cstdint>
#include <string>

// The sensor's 37 registers and the program's copy of its linearization table:
// the one place where parameter values live between the sensor and the user.
class ParameterSet {
public:
    enum RegisterIndex : int {
        Resolution = 0,
        Filter,
        SlowAvarageFilter,
        Measurement,
        OutputCode,
        Direction,
        IndicationCounter,
        BitWidth,
        PositionCount,
        Mode,
        OutputFlags,
        Length,
        Offset,
        ErrorValue,
        PowerfailTime,
        LinearizationFlags,
        SSISampleTime,
        Model,
        Chargepump,
        SyncTiming,
        JitterWindow,
        MonoflopTime,
        Scale,
        CycleTime,
        UARTCounter,
        FirmwareVersion,
        SecErrorValue,
        SSIStartSync,
        FactoryNumber,
        UltrasonicSpeed,
        OperatingTime,
        StartPoint,
        EndPoint,
        LinTableByte,
        LinTableAddress,
        LinStartValue,
        Blanking,
        RegisterCount
    };

    struct DataElement {
        int32_t Value = 0;
        uint32_t Mask = 0;
        uint8_t Shift = 0;
        uint8_t Modified = 0;
        uint8_t Answered = 0;
        std::string Reply;
        std::string ReadCommand;
        std::string WriteCommand;

        bool operator==(const DataElement&) const = default;
    };

    // Addresses of the sensor's linearization table: the entries up to
    // LinTableLastEntry, the factor after them, the image up to LinTableLastAddress.
    static constexpr int LinTableFirstAddress = 200;
    static constexpr int LinTableLastEntry = 500;
    static constexpr int LinFactorAddress = 501;
    static constexpr int LinTableLastAddress = 507;
    static constexpr int LinTableSize = LinTableLastAddress - LinTableFirstAddress + 1;

    ParameterSet() { ResetTable(); }

    std::array<DataElement, RegisterCount> ParameterStruct;
    std::array<uint8_t, LinTableSize> LinTableImage{};

    DataElement& operator[](RegisterIndex r) { return ParameterStruct[r]; }
    const DataElement& operator[](RegisterIndex r) const { return ParameterStruct[r]; }

    // Every value and flag zero, replies empty, commands, masks and shifts as
    // the register table gives them. The image is left as it is.
    void ResetTable();
    // The values of the demo sensor; flags stay as they are.
    void LoadDemoSet();

    static const char* RegisterKey(RegisterIndex r);
    // Characters of the register's reply, without the carriage return, for the
    // firmware now in the set.
    int ReplyLength(RegisterIndex r) const;
    int FirmwareVersionNumber() const { return ParameterStruct[FirmwareVersion].Value; }
    int FirmwareType() const;
};
