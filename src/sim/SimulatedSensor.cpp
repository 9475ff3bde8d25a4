#include "sim/SimulatedSensor.h"

#include <algorithm>
#include <utility>

#include "sim/MeasurementStream.h"
#include "sim/StateFile.h"
#include "sim/WireText.h"

namespace sim {

namespace {

constexpr const char* kWakeUpLine = "PROG";
constexpr size_t kMaxLineLength = 64;
constexpr char kCorruptCharacter = 'X';
constexpr char kMissingCrCharacter = '\n';
constexpr uint32_t kTestModeBit = 0x00040000;  // DA bit 18: bit 0 of the Measurement field

bool listed(const std::vector<std::string>& commands, const std::string& line) {
    return std::any_of(commands.begin(), commands.end(),
                       [&](const std::string& command) { return line.starts_with(command); });
}

}  // namespace

SimulatedSensor::SimulatedSensor(const SensorConfig& config)
    : config_(config), memory_(config), awake_(config.startsAwake) {
    output_.setPaced(config.paced);
}

void SimulatedSensor::noteTime(int64_t timeMs) {
    latestMs_ = std::max(latestMs_, timeMs);
}

// A line feed after the carriage return, as terminals send it, is ignored.
void SimulatedSensor::receive(uint8_t byte, int64_t timeMs) {
    noteTime(timeMs);
    if (bootloader_.running()) {
        bootloaderReceive(byte, timeMs);
        return;
    }
    if (baudRate_ != kCommandBaud || byte == '\n')
        return;
    if (byte != '\r') {
        if (line_.size() < kMaxLineLength)
            line_.push_back(char(byte));
        return;
    }
    onLine(std::exchange(line_, {}), timeMs);
}

void SimulatedSensor::onLine(const std::string& line, int64_t timeMs) {
    log(TrafficEntry::Kind::Command, line, timeMs);
    if (line == kWakeUpLine) {
        awake_ = true;
        mode_ = SensorMode::Command;
        return;
    }
    if (faults_.silent || !awake_ || mode_ != SensorMode::Command ||
        listed(faults_.refusedCommands, line) || (faults_.refuses && faults_.refuses(line)))
        return;
    carryOut(line, timeMs);
}

void SimulatedSensor::carryOut(const std::string& line, int64_t timeMs) {
    const CommandOutcome outcome = engine_.handle(line, timeMs);
    if (line.size() == 2)
        ++carriedOut_[line];
    if (outcome.enterBootloader)
        mode_ = SensorMode::Bootloader;
    if (outcome.persistentChange && persistentChange_)
        persistentChange_();
    if (outcome.reply && !listed(faults_.silentCommands, line))
        sendReply(line, *outcome.reply, timeMs);
}

bool SimulatedSensor::due(int everyNth) const {
    return everyNth > 0 && replyCount_ % everyNth == 0;
}

void SimulatedSensor::sendReply(const std::string& command, const std::string& payload,
                                int64_t commandTimeMs) {
    ++replyCount_;
    if (due(faults_.dropEveryNthReply))
        return;
    std::string wire = payload + '\r';
    if (due(faults_.corruptEveryNthReply) && !payload.empty())
        wire.front() = kCorruptCharacter;
    if (due(faults_.zeroByteEveryNthReply) && !payload.empty())
        wire[payload.size() - 1] = '\0';
    if (due(faults_.missingCrEveryNthReply))
        wire.back() = kMissingCrCharacter;
    if (faults_.tamperReply)
        faults_.tamperReply(command, wire);
    if (wire.empty())
        return;
    const int64_t startMs = output_.send(wire, commandTimeMs + config_.replyDelayMs);
    if (wire.back() == '\r')
        wire.pop_back();
    log(TrafficEntry::Kind::Reply, std::move(wire), startMs);
}

void SimulatedSensor::bootloaderReceive(uint8_t byte, int64_t timeMs) {
    sendDueIdentification(timeMs);
    bool wrote = false;
    const auto answer = bootloader_.receive(byte, timeMs, wrote);
    if (!answer)
        return;
    log(TrafficEntry::Kind::Command, answer->received, timeMs);
    if (!answer->bytes.empty())
        log(TrafficEntry::Kind::Reply, answer->bytes, output_.send(answer->bytes, answer->timeMs));
    if (wrote && persistentChange_)
        persistentChange_();
}

void SimulatedSensor::sendDueIdentification(int64_t untilMs) {
    if (const auto identification = bootloader_.identificationDue(untilMs)) {
        const int64_t startMs = output_.send(identification->bytes, identification->timeMs);
        log(TrafficEntry::Kind::Reply, identification->bytes, startMs);
    }
}

void SimulatedSensor::log(TrafficEntry::Kind kind, std::string text, int64_t timeMs) {
    traffic_.push_back({timeMs, kind, std::move(text), baudRate_});
}

void SimulatedSensor::setRts(bool asserted, int64_t timeMs) {
    noteTime(timeMs);
    if (asserted == rts_)
        return;
    rts_ = asserted;
    log(TrafficEntry::Kind::Rts, asserted ? "1" : "0", timeMs);
}

void SimulatedSensor::setBaudRate(int baudRate, int64_t timeMs) {
    noteTime(timeMs);
    if (baudRate == baudRate_)
        return;
    baudRate_ = baudRate;
    output_.setBaudRate(baudRate);
    line_.clear();
    log(TrafficEntry::Kind::Baud, std::to_string(baudRate), timeMs);
    followStreamMode(timeMs);
    followBootloader(timeMs);
}

void SimulatedSensor::followBootloader(int64_t timeMs) {
    if (mode_ == SensorMode::Bootloader && baudRate_ == BootloaderModel::kBaud) {
        bootloader_.reset(timeMs);
    } else if (bootloader_.running()) {
        bootloader_.stop();
        restart();
    }
}

// Every change of speed ends a stream and drops what is left of it. The stream
// is paced even when replies are not: unpaced, all of an endless stream would be due at once.
void SimulatedSensor::followStreamMode(int64_t timeMs) {
    if (streaming_) {
        output_.cancel(timeMs);
        leaveTestMode();
    }
    streaming_ = mode_ == SensorMode::Command && streamsAt(memory_.working, baudRate_);
    output_.setPaced(streaming_ || config_.paced);
    if (!streaming_)
        return;
    streamStartMs_ = timeMs;
    queueRecord();
}

// After the first record, each starts when the line is free: the records run back to back.
void SimulatedSensor::queueRecord() {
    const std::string record =
        streamRecord(memory_.working, memory_.magnetPositionUm, config_.temperatureC);
    streamed_.push_back(record.substr(0, record.size() - 1));
    if (streamed_.size() > kStreamedKept)
        streamed_.pop_front();
    output_.send(record, streamStartMs_);
    moveMagnetAlongStream();
}

void SimulatedSensor::leaveTestMode() {
    if (!config_.dropsTestBitAfterStream)
        return;
    for (RegisterBank* bank : {&memory_.working, &memory_.eeprom})
        bank->words.at("DA") &= ~kTestModeBit;
}

void SimulatedSensor::moveMagnetAlongStream() {
    if (config_.streamStepUm == 0)
        return;
    const int rodEndUm = config_.lengthMm * 1000;
    int next = memory_.magnetPositionUm + streamDirection_ * config_.streamStepUm;
    if (next > rodEndUm || next < 0) {
        streamDirection_ = -streamDirection_;
        next = memory_.magnetPositionUm + streamDirection_ * config_.streamStepUm;
    }
    memory_.magnetPositionUm = next;
}

// While streaming, one record not yet taken is always queued, so that
// nextOutputTime() knows the next byte and records are made as time advances.
std::vector<TimedByte> SimulatedSensor::takeOutput(int64_t untilMs) {
    sendDueIdentification(untilMs);
    std::vector<TimedByte> taken = output_.take(untilMs);
    while (streaming_ && !output_.nextTime()) {
        queueRecord();
        const std::vector<TimedByte> more = output_.take(untilMs);
        taken.insert(taken.end(), more.begin(), more.end());
    }
    return taken;
}

std::optional<int64_t> SimulatedSensor::nextOutputTime() const {
    const auto queued = output_.nextTime();
    const auto identification = bootloader_.identificationTime();
    if (queued && identification)
        return std::min(*queued, *identification);
    return queued ? queued : identification;
}

uint32_t SimulatedSensor::word(const std::string& readCommand) const {
    if (readCommand == "VA")
        return uint32_t(memory_.firmwareVersion);
    if (readCommand == "TA")
        return memory_.operatingTime(latestMs_);
    if (readCommand == "XA01F600")
        return uint32_t(memory_.linTable.startValue()) & 0xFFFFFF;
    return memory_.working.words.at(readCommand);
}

void SimulatedSensor::setWord(const std::string& readCommand, uint32_t value) {
    if (readCommand == "TA")
        memory_.setOperatingTime(value, latestMs_);
    else if (readCommand == "XA01F600")
        memory_.linTable.setStartValue(wiretext::signExtend24(value));
    else
        memory_.working.words.at(readCommand) = value;
}

std::string SimulatedSensor::laWord() const {
    return memory_.working.la;
}

std::string SimulatedSensor::factoryNumber() const {
    return memory_.working.fa;
}

const RegisterBank& SimulatedSensor::bank(Bank which) const {
    switch (which) {
        case Bank::Eeprom:
            return memory_.eeprom;
        case Bank::Factory:
            return memory_.factory;
        default:
            return memory_.working;
    }
}

uint8_t SimulatedSensor::linTableByte(int address) const {
    return memory_.linTable.byte(address);
}

void SimulatedSensor::setLinTableByte(int address, uint8_t value) {
    memory_.linTable.setByte(address, value);
}

int SimulatedSensor::commitCount(const std::string& command) const {
    const auto it = carriedOut_.find(command);
    return it == carriedOut_.end() ? 0 : it->second;
}

void SimulatedSensor::setMagnet(int positionUm, int count) {
    memory_.magnetPositionUm = positionUm;
    memory_.magnetCount = count;
}

void SimulatedSensor::powerCycle() {
    bootloader_.stop();
    restart();
}

void SimulatedSensor::restart() {
    memory_.working = memory_.eeprom;
    awake_ = config_.startsAwake;
    mode_ = SensorMode::Command;
    line_.clear();
}

std::string SimulatedSensor::saveState() const {
    return formatState(memory_, latestMs_);
}

bool SimulatedSensor::loadState(const std::string& text) {
    if (!parseState(text, memory_, latestMs_))
        return false;
    memory_.working = memory_.eeprom;
    return true;
}

}  // namespace sim
