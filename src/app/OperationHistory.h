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
// and again only after the store has taken the events it missed. The demo
// port's set is no sensor's and is not recorded.
class OperationHistory {
public:
    using RefusalNotice = std::function<void(const QString& reason)>;

    // Without a recorder nothing is recorded.
    OperationHistory(history::Recorder* recorder, const TSSICom& sensor, RefusalNotice refused);

    void Record(const SensorOperation& operation);

private:
    history::Recorder* recorder_;
    const TSSICom& sensor_;
    RefusalNotice refused_;
    bool told_ = false;
};
