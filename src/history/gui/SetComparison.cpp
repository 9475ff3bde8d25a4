#include "history/gui/SetComparison.h"

#include "files/StoredSet.h"

namespace history {

std::vector<ComparedRegister> CompareWithPresent(const RegisterValues& recorded,
                                                 const ParameterSet& present) {
    const RegisterValues now = CaptureRegisters(present);
    std::vector<ComparedRegister> rows;
    for (int r = 0; r < files::StoredRegisterCount; ++r) {
        const auto i = static_cast<size_t>(r);
        rows.push_back({ParameterSet::RegisterIndex(r), recorded[i], now[i]});
    }
    return rows;
}

}  // namespace history
