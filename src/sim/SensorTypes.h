#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace sim {

// A byte on the line: start bit, 8 data bits, stop bit.
inline constexpr int64_t kBitsPerByte = 10;

// The bit width's field of the DA word.
inline constexpr uint32_t kBitWidthMask = 0x000000FF;

// What kind of sensor the model plays.
struct SensorConfig {
    std::string model = "QH";       // two letters of the LA word
    int firmwareVersion = 3960105;  // seven digits, VA word
    std::string factoryNumber = "10203040";
    int lengthMm = 500;
    int resolutionUm = 5;
    bool startsAwake = true;         // false: answers only after "PROG" lines
    int replyDelayMs = 20;           // from the command's carriage return to the reply's first byte
    bool paced = true;               // false: a reply's bytes all arrive with its first one
    bool linearizationTable = true;  // answers "XA"/"XN" and the start value commands
    int magnetPositionUm = 100000;   // where the magnet sits, from the start of the rod
    int magnetCount = 1;             // teaching needs exactly one magnet
    std::string chip = "BX";         // microcontroller and bootloader size, as it identifies them
    int temperatureC = 25;           // streamed when the temperature bit is set
    // While streaming, the magnet moves this far per record and turns back at
    // the rod's ends: a triangle from magnetPositionUm. 0 keeps it still.
    int streamStepUm = 0;
    // Drops bit 0 of the Measurement field, in working memory and in the EEPROM,
    // when a stream ends. Off, the bit stays set until a write clears it.
    bool dropsTestBitAfterStream = false;
    // Raw words that replace the preset's values, by read command ("DA", "AA",
    // "YA00000000" ...); decimal registers (AA, UA) hold their number.
    std::map<std::string, uint32_t> words;
};

// Faults that tests and the simulator program inject.
struct Faults {
    bool silent = false;             // answers nothing and ignores every command
    int dropEveryNthReply = 0;       // 0: off
    int corruptEveryNthReply = 0;    // replaces one payload character by a non-digit
    int zeroByteEveryNthReply = 0;   // replaces one payload character by a zero byte
    int missingCrEveryNthReply = 0;  // last byte is not a carriage return
    // Commands, or how they begin, that go unanswered ("SA", "YA30000000").
    std::vector<std::string> silentCommands;
    // Write commands, or how they begin, that the sensor ignores ("DN", "XN00C8").
    std::vector<std::string> refusedCommands;
    // Asked about every command line (not "PROG"): true makes the sensor ignore it.
    std::function<bool(const std::string& line)> refuses;
    // Sees every reply before it goes out, its carriage return included, and may
    // change it, shorten it or empty it (an empty reply is lost).
    std::function<void(const std::string& command, std::string& wire)> tamperReply;
    bool wrongLinAddress = false;   // XA echoes the address + 1
    bool teachUnconfirmed = false;  // YN teach answers "15" instead of "06"
    // The bootloader's answers to the messages it receives, one character each
    // ('r', 'b', 'c', 'f', any other byte, '.' for none); then it answers by itself.
    std::string bootloaderAnswers;
};

struct TrafficEntry {
    enum class Kind { Command, Reply, Rts, Baud };
    int64_t timeMs = 0;  // command: its carriage return arrived; reply: its first byte starts
    Kind kind = Kind::Command;
    std::string text;  // command or reply without CR; "1"/"0" for RTS; baud as text
    int baudRate = 0;
};

// One byte the sensor puts on the wire and when it is there.
struct TimedByte {
    int64_t timeMs;
    uint8_t byte;
};

}  // namespace sim
