#include "params/RangePoints.h"

#include "params/ParameterView.h"
#include "ui/controls/EditorContract.h"
#include "ui/controls/LabeledEdit.h"

namespace params {

bool RangePoints::ReadRangePoints() {
    if (!readPoint(false) || !readPoint(true))
        return false;
    const TSSICom& sensor = contract_.sensor();
    if (sensor[TSSICom::StartPoint].Value < sensor[TSSICom::EndPoint].Value)
        return true;
    contract_.show(mainmessages::Id::EmptyMeasuringRange, MessageIcon::Warning);
    return false;
}

bool RangePoints::readPoint(bool endPoint) {
    TSSICom& sensor = contract_.sensor();
    const auto r = endPoint ? TSSICom::EndPoint : TSSICom::StartPoint;
    if (!sensor.ReadRegister(r)) {
        contract_.show(endPoint ? mainmessages::Id::EndPointUnreadable
                                : mainmessages::Id::StartPointUnreadable);
        sensor[r].Answered = 0;
        return false;
    }
    auto& field = endPoint ? *controls_.Measurement2.EndPoint : *controls_.Measurement2.StartPoint;
    if (auto text = RangePointText(controls_, contract_.state(), sensor, endPoint))
        field.setText(*text);
    sensor[r].Answered = 1;
    return true;
}

}  // namespace params
