#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sim {

// What kind of sensor the model plays.
struct SensorConfig {
    std::string model = "QH";          // two letters of the LA word
    int firmwareVersion = 3960105;     // seven digits, VA word
    std::string factoryNumber = "10203040";
    int lengthMm = 500;
    int resolutionUm = 5;
    bool startsAwake = true;           // false: answers only after "PROG" lines
    int replyDelayMs = 20;             // from the command's carriage return to the reply's first byte
};

// Named presets: "qh" (QH, 3960105), "kbf" (KB, 3960607), "b" (BP series),
// "old" (3960100), "offset-raw" (3960405). Returns nullopt for an unknown name.
std::optional<SensorConfig> presetConfig(const std::string& name);
std::vector<std::string> presetNames();

// Faults that tests and the simulator program inject.
struct Faults {
    bool silent = false;                     // answers nothing
    int dropEveryNthReply = 0;               // 0: off
    int corruptEveryNthReply = 0;            // replaces one payload character by a non-digit
    int zeroByteEveryNthReply = 0;           // replaces one payload character by a zero byte
    int missingCrEveryNthReply = 0;          // last byte is not a carriage return
    std::vector<std::string> silentCommands;    // two-letter read commands left unanswered ("SA")
    std::vector<std::string> refusedCommands;   // two-letter write commands ignored ("DN")
    bool wrongLinAddress = false;            // XA echoes the address + 1
    bool teachUnconfirmed = false;           // YN teach answers "15" instead of "06"
};

struct TrafficEntry {
    enum class Kind { Command, Reply, Rts, Baud };
    int64_t timeMs = 0;
    Kind kind = Kind::Command;
    std::string text;  // command or reply without CR; "1"/"0" for RTS; baud as text
    int baudRate = 0;
};

// One byte the sensor puts on the wire and when it is there.
struct TimedByte {
    int64_t timeMs;
    uint8_t byte;
};

// A sensor with working memory, EEPROM and factory set, speaking the command protocol.
class SimulatedSensor {
public:
    explicit SimulatedSensor(const SensorConfig& config = {});

    // Wire interface. `timeMs` is when the byte has fully arrived at the sensor.
    void receive(uint8_t byte, int64_t timeMs);
    void setRts(bool asserted, int64_t timeMs);
    void setBaudRate(int baudRate, int64_t timeMs);
    // Bytes the sensor has sent (or will send) up to and including `timeMs`, in order.
    std::vector<TimedByte> takeOutput(int64_t untilMs);
    // Time of the next byte not yet taken, if any.
    std::optional<int64_t> nextOutputTime() const;

    Faults& faults() { return faults_; }
    const std::vector<TrafficEntry>& traffic() const { return traffic_; }
    void clearTraffic() { traffic_.clear(); }

    // Raw words, as the sensor would report them (for tests and state files).
    uint32_t word(const std::string& readCommand) const;     // "DA", "KA", ...
    void setWord(const std::string& readCommand, uint32_t value);
    std::string laWord() const;                               // six characters
    std::string factoryNumber() const;
    uint8_t linTableByte(int address) const;
    bool awake() const;
    int commitCount(const std::string& command) const;        // "CN", "EN", "QN"

    // Persistent state (EEPROM, factory set, linearization table) as text lines.
    std::string saveState() const;
    bool loadState(const std::string& text);

private:
    struct Impl;
    std::shared_ptr<Impl> impl_;
    Faults faults_;
    std::vector<TrafficEntry> traffic_;
};

}  // namespace sim
