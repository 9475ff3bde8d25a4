#pragma once

#include <QString>
#include <functional>

#include "ui/MainState.h"

class TSSICom;

namespace history {
class Recorder;
}

// Hands the window's operations to the history's recorder with the sensor and
// the port they ran on. When the store refuses an event the user is told once,
// and told again when the store has taken the events it missed. The demo
// port's set is no sensor's and is not recorded.
class OperationHistory {
public:
    // The store's reason for refusing; empty when it has caught up.
    using RefusalNotice = std::function<void(const QString& reason)>;

    // Without a recorder nothing is recorded.
    OperationHistory(history::Recorder* recorder, const TSSICom& sensor, RefusalNotice notice);

    void Record(const SensorOperation& operation);

private:
    history::Recorder* recorder_;
    const TSSICom& sensor_;
    RefusalNotice notice_;
    bool told_ = false;
};
