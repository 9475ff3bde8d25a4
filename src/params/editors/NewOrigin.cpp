#include "params/editors/NewOrigin.h"

#include "comm/OriginStream.h"
#include "params/editors/OffsetEditor.h"
#include "ui/MainState.h"
#include "ui/WaitCursor.h"
#include "ui/controls/EditorContract.h"

namespace params {

void NewOrigin::OriginButtonClick() {
    MainState& state = contract_.state();
    const auto pause = state.PausePolling();
    std::optional<int32_t> position;
    {
        WaitCursor hourglass;
        position = comm::OriginStream(contract_.sensor()).ReadPosition();
        // The stream read committed the set.
        state.ClearParametersChanged();
    }
    if (!position) {
        contract_.show(mainmessages::Id::NoPositionReceived);
        return;
    }
    offset_.ShowMicrometres(offset_.FieldMicrometres() - *position);
    offset_.OnEditOffset(QString::number(offset_.FieldMicrometres()));
}

}  // namespace params
