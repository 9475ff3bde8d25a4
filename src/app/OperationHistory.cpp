#include "app/OperationHistory.h"

#include <utility>

#include "app/PortList.h"
#include "comm/Ssicom.h"
#include "history/Recorder.h"

OperationHistory::OperationHistory(history::Recorder* recorder, const TSSICom& sensor,
                                   RefusalNotice refused)
    : recorder_(recorder), sensor_(sensor), refused_(std::move(refused)) {}

void OperationHistory::Record(const SensorOperation& operation) {
    if (recorder_ == nullptr || sensor_.IsDemo())
        return;
    using Kept = SensorOperation::Kept;
    const bool withSet = operation.ok && operation.kept != Kept::Nothing;
    const bool withTable = operation.ok && operation.kept == Kept::SetAndTable;
    const QString port = app::EntryText(platform::PortEntry{sensor_.PortNumber(), {}});
    recorder_->record(sensor_, port.toStdString(), operation.operation, operation.ok,
                      operation.message.toStdString(), operation.subject, withSet, withTable);
    if (recorder_->missed() == 0) {
        told_ = false;
        return;
    }
    if (told_)
        return;
    told_ = true;
    if (refused_)
        refused_(QString::fromStdString(recorder_->problem()));
}
