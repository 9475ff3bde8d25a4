// The simulated sensor's command parser: bytes it receives from the program at
// the command baud rate. The first byte picks the preset.
#include <string>
#include <vector>

#include "sim/SimulatedSensor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    static const std::vector<std::string> presets = sim::presetNames();
    sim::SimulatedSensor sensor(*sim::presetConfig(presets[data[0] % presets.size()]));
    int64_t timeMs = 0;
    for (size_t i = 1; i < size; ++i) {
        timeMs += 3;  // a little more than one byte at 4800 baud
        sensor.receive(data[i], timeMs);
        sensor.takeOutput(timeMs);
    }
    return 0;
}
