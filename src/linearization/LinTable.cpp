#include "linearization/LinTable.h"

#include "comm/Ssicom.h"

namespace linearization {

int8_t SignedByte(int32_t value) {
    return static_cast<int8_t>(static_cast<uint8_t>(value & 0xFF));
}

bool ReadEntry(TSSICom& sensor, int address) {
    for (int attempt = 0; attempt < EntryReadAttempts; ++attempt) {
        if (sensor.ReadLinTableByte(address))
            return true;
    }
    return false;
}

bool RunTable(TSSICom& sensor, bool cached, const EntryVisitor& visit) {
    const auto& image = sensor.Parameters().LinTableImage;
    for (int address = ParameterSet::LinTableFirstAddress;
         address <= ParameterSet::LinTableLastEntry; ++address) {
        if (!cached && !ReadEntry(sensor, address))
            return false;
        visit(address, SignedByte(image[address - ParameterSet::LinTableFirstAddress]));
    }
    return true;
}

}  // namespace linearization
