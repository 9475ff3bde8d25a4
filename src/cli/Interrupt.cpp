#include "Interrupt.h"

namespace cli {

namespace {

volatile std::sig_atomic_t interrupted = 0;

void raise(int) {
    interrupted = 1;
}

}  // namespace

InterruptFlag::InterruptFlag() {
    interrupted = 0;
    struct sigaction action {};
    action.sa_handler = raise;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &oldInt_);
    sigaction(SIGTERM, &action, &oldTerm_);
}

InterruptFlag::~InterruptFlag() {
    sigaction(SIGINT, &oldInt_, nullptr);
    sigaction(SIGTERM, &oldTerm_, nullptr);
}

bool InterruptFlag::raised() const {
    return interrupted != 0;
}

}  // namespace cli
