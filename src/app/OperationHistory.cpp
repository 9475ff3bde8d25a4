#include "app/OperationHistory.h"

#include <utility>

#include "app/PortList.h"
#include "comm/Ssicom.h"
#include "history/Recorder.h"

OperationHistory::OperationHistory(history::Recorder* recorder, const TSSICom& sensor,
                                   RefusalNotice notice)
    : recorder_(recorder), sensor_(sensor), notice_(std::move(notice)) {}

void OperationHistory::Record(const SensorOperation& operation) {
    if (recorder_ == nullptr || sensor_.IsDemo())
        return;
    using Kept = SensorOperation::Kept;
    const bool withSet = operation.ok && operation.kept != Kept::Nothing;
    const bool withTable = operation.ok && operation.kept == Kept::SetAndTable;
    const QString port = app::EntryText(platform::PortEntry{sensor_.PortNumber(), {}});
    recorder_->record(sensor_, port.toStdString(), operation.operation, operation.ok,
                      operation.message.toStdString(), operation.subject, withSet, withTable);
    const bool missing = recorder_->missed() != 0;
    if (missing == told_)
        return;
    told_ = missing;
    if (notice_)
        notice_(missing ? QString::fromStdString(recorder_->problem()) : QString());
}
