#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sim/SensorMemory.h"
#include "sim/SensorTypes.h"

namespace sim {

// What one command line did.
struct CommandOutcome {
    std::optional<std::string> reply;  // payload without the carriage return
    bool persistentChange = false;     // the EEPROM, factory set or linearization table changed
    bool enterBootloader = false;
};

// The sensor's command language: reads answer the raw word in its fixed format,
// writes change working memory and answer nothing (except "YN"), and the
// EEPROM commands copy between the three parameter sets. Malformed or unknown
// commands are ignored.
class CommandEngine {
public:
    CommandEngine(SensorMemory& memory, const Faults& faults) : memory_(memory), faults_(faults) {}

    CommandOutcome handle(std::string_view command, int64_t timeMs);

private:
    CommandOutcome plainWord(std::string_view key, std::string_view arg);
    CommandOutcome laWord(char op, std::string_view arg);
    CommandOutcome factoryNumber(char op, std::string_view arg);
    CommandOutcome operatingTime(char op, std::string_view arg, int64_t timeMs);
    CommandOutcome rangeRead(std::string_view arg) const;
    CommandOutcome rangeCommand(std::string_view arg);
    CommandOutcome teach(const char* point);
    CommandOutcome tableRead(std::string_view arg) const;
    CommandOutcome tableWrite(std::string_view arg);
    CommandOutcome eepromCommand(std::string_view key);

    SensorMemory& memory_;
    const Faults& faults_;
};

}  // namespace sim
