#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sim/BootloaderModel.h"
#include "sim/CommandEngine.h"
#include "sim/RegisterBank.h"
#include "sim/SensorMemory.h"
#include "sim/SensorTypes.h"
#include "sim/WireOutput.h"

namespace sim {

// Named presets: "qh" (QH, 3960105), "kbf" (KB, 3960607), "b" (BP series),
// "old" (3960100), "offset-raw" (3960405). Returns nullopt for an unknown name.
std::optional<SensorConfig> presetConfig(const std::string& name);
std::vector<std::string> presetNames();

enum class SensorMode { Command, Bootloader };

// A sensor with working memory, EEPROM and factory set, speaking the command protocol.
// It listens at 4800 baud: bytes sent at another speed are lost, except by the
// bootloader, which "BN" and a switch to 38400 baud start; it ends with the
// return to 4800 baud, and the sensor starts again. A command's reply
// starts `replyDelayMs` after its carriage return and is paced at the baud rate.
// With bit 0 of the Measurement field set, a switch to 38400 or 115200 baud starts
// a stream of position records, back to back at that speed, until the speed changes.
class SimulatedSensor {
public:
    static constexpr int kCommandBaud = 4800;
    enum class Bank { Working, Eeprom, Factory };

    explicit SimulatedSensor(const SensorConfig& config = {});
    SimulatedSensor(const SimulatedSensor&) = delete;
    SimulatedSensor& operator=(const SimulatedSensor&) = delete;

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

    // Raw words as the read command reports them: "DA", "AA", "VA", "TA",
    // "YA00000000", "XA01F600" ... (not LA and FA). Throws std::out_of_range for
    // other names.
    uint32_t word(const std::string& readCommand) const;
    void setWord(const std::string& readCommand, uint32_t value);
    std::string laWord() const;  // six characters
    std::string factoryNumber() const;
    const RegisterBank& bank(Bank which) const;
    uint8_t linTableByte(int address) const;
    const FlashMemory& flash() const { return memory_.flash; }
    // Addresses 200 to 507; the start value has its word "XA01F600".
    void setLinTableByte(int address, uint8_t value);
    int32_t linStartValue() const { return memory_.linTable.startValue(); }

    bool awake() const { return awake_; }
    SensorMode mode() const { return mode_; }
    int baudRate() const { return baudRate_; }
    bool rts() const { return rts_; }
    // How often a command without argument was carried out: "CN", "EN", "QN", "BN" ...
    int commitCount(const std::string& command) const;

    // Where the magnet is; teaching a range point needs exactly one magnet. The
    // stream shows a new position from its next record on.
    void setMagnet(int positionUm, int count = 1);
    // The latest records of the test stream (at most kStreamedKept), without
    // carriage returns, in the order they were put on the wire.
    static constexpr size_t kStreamedKept = 100000;
    const std::deque<std::string>& streamed() const { return streamed_; }
    // Power off and on: working memory reloads from the EEPROM.
    void powerCycle();

    // Persistent state (EEPROM, factory set, linearization table) as text lines.
    std::string saveState() const;
    // Replaces the persistent state and reloads working memory from it.
    bool loadState(const std::string& text);
    // Called after every command that changed the persistent state.
    void onPersistentChange(std::function<void()> handler) {
        persistentChange_ = std::move(handler);
    }

private:
    void noteTime(int64_t timeMs);
    void onLine(const std::string& line, int64_t timeMs);
    void carryOut(const std::string& line, int64_t timeMs);
    void sendReply(const std::string& command, const std::string& payload, int64_t commandTimeMs);
    bool due(int everyNth) const;
    void log(TrafficEntry::Kind kind, std::string text, int64_t timeMs);
    void followStreamMode(int64_t timeMs);
    void leaveTestMode();
    void queueRecord();
    void bootloaderReceive(uint8_t byte, int64_t timeMs);
    void sendDueIdentification(int64_t untilMs);
    void followBootloader(int64_t timeMs);
    void restart();
    void moveMagnetAlongStream();

    SensorConfig config_;
    Faults faults_;
    SensorMemory memory_;
    CommandEngine engine_{memory_, faults_};
    WireOutput output_;
    BootloaderModel bootloader_{memory_.flash, faults_};
    std::vector<TrafficEntry> traffic_;
    std::deque<std::string> streamed_;
    std::map<std::string, int> carriedOut_;
    std::function<void()> persistentChange_;
    std::string line_;
    SensorMode mode_ = SensorMode::Command;
    bool awake_;
    bool rts_ = false;
    bool streaming_ = false;
    int64_t streamStartMs_ = 0;
    int streamDirection_ = 1;
    int baudRate_ = kCommandBaud;
    int replyCount_ = 0;
    int64_t latestMs_ = 0;
};

}  // namespace sim
