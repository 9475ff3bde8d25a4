// The sensor's replies: everything the program receives while it reads one
// register (after the firmware version, which sets the reply lengths) or the
// whole parameter set. The first byte picks which.
#include <cstdlib>

#include "ReplayBackend.h"
#include "comm/Ssicom.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    platform::VirtualClock clock;
    ReplayBackend backend(clock, data + 1, size - 1);
    const platform::ComPortMap ports;
    TSSICom com(backend, clock, ports);
    if (!com.OpenDefault(1)) {
        std::abort();
    }
    const int pick = data[0] % (TSSICom::RegisterCount + 1);
    if (pick == TSSICom::RegisterCount) {
        com.ReadParameterSet();
        return 0;
    }
    const auto r = static_cast<TSSICom::RegisterIndex>(pick);
    com.ReadRegister(TSSICom::FirmwareVersion);
    if (com.ReadRegister(r) && !com[r].Answered) {
        std::abort();
    }
    return 0;
}
