#include "history/Recorder.h"

#include <utility>

namespace history {

Recorder::Recorder(HistoryStore* store, Origin origin)
    : store_(store), origin_(std::move(origin)) {}

void Recorder::record(const TSSICom& sensor, const std::string& port, Operation operation, bool ok,
                      const std::string& message, const std::string& subject, bool withSet,
                      bool withLinTable) {
    Event event;
    event.port = port;
    event.factoryNumber = sensor[TSSICom::FactoryNumber].Reply;
    event.firmwareVersion = sensor.FirmwareVersionNumber();
    event.operation = operation;
    event.subject = subject;
    event.ok = ok;
    event.message = message;
    if (withSet)
        event.registers = CaptureRegisters(sensor.Parameters());
    if (withLinTable) {
        const auto& image = sensor.Parameters().LinTableImage;
        event.linTable = std::vector<uint8_t>(image.begin(), image.end());
    }
    record(std::move(event));
}

void Recorder::record(Event event) {
    if (!store_)
        return;
    if (event.origin.program.empty())
        event.origin = origin_;
    pending_.push_back(std::move(event));
    flush();
}

// Oldest first, so that the ids keep the order the operations happened in.
// The store stamps an event's time at its first attempt, so an event written
// late keeps the time of its operation.
void Recorder::flush() {
    while (!pending_.empty()) {
        if (!store_->record(pending_.front())) {
            problem_ = store_->lastError();
            return;
        }
        pending_.erase(pending_.begin());
    }
    problem_.clear();
}

}  // namespace history
