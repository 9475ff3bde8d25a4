// The simulator's state file. A state it accepts must come back unchanged
// through saving and loading again.
#include <cstdlib>
#include <string>

#include "sim/SimulatedSensor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sim::SimulatedSensor sensor;
    if (!sensor.loadState(std::string(reinterpret_cast<const char*>(data), size))) {
        return 0;
    }
    const std::string saved = sensor.saveState();
    sim::SimulatedSensor reloaded;
    if (!reloaded.loadState(saved) || reloaded.saveState() != saved) {
        std::abort();
    }
    return 0;
}
