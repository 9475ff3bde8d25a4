#pragma once

#include "platform/SerialBackend.h"

namespace platform {

// A serial device through termios and poll().
class TermiosSerialBackend final : public SerialBackend {
    // to be written
};

}  // namespace platform
