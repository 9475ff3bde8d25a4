#pragma once

#include <vector>

#include "comm/ParameterSet.h"
#include "history/Event.h"

namespace history {

// One register of a recorded set beside what the sensor holds now.
struct ComparedRegister {
    ParameterSet::RegisterIndex reg;
    RegisterValue recorded;
    RegisterValue present;

    // Two registers that did not answer hold nothing to tell apart.
    bool differs() const {
        if (recorded.answered != present.answered)
            return true;
        return recorded.answered && recorded.value != present.value;
    }
};

// The registers a parameter file carries, recorded and present, in register order.
std::vector<ComparedRegister> CompareWithPresent(const RegisterValues& recorded,
                                                 const ParameterSet& present);

}  // namespace history
