#include "params/RangePoints.h"

#include "comm/SensorRules.h"
#include "params/ParameterView.h"
#include "ui/MainState.h"
#include "ui/controls/EditorContract.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/RadioGroup.h"

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

void RangePoints::SetStartPointClick() {
    teach(false);
}

void RangePoints::SetEndPointClick() {
    teach(true);
}

void RangePoints::DelStartPointClick() {
    remove(false);
}

void RangePoints::DelEndPointClick() {
    remove(true);
}

LabeledEdit& RangePoints::field(bool endPoint) {
    return endPoint ? *controls_.Measurement2.EndPoint : *controls_.Measurement2.StartPoint;
}

bool RangePoints::sendTeach(bool endPoint, const char* argument) {
    TSSICom& sensor = contract_.sensor();
    return endPoint ? sensor.TeachEndPoint(argument) : sensor.TeachStartPoint(argument);
}

// The sensor takes the point from the magnet: it refuses when it sees none or several.
void RangePoints::teach(bool endPoint) {
    MainState& state = contract_.state();
    const auto pause = state.PausePolling();
    field(endPoint).setText(QString());
    field(endPoint).repaint();
    if (controls_.ExpertSettings.KModelChosen()) {
        contract_.show(mainmessages::Id::KSeriesNotAvailable);
        ReadRangePoints();
        return;
    }
    if (sendTeach(endPoint, endPoint ? TSSICom::SetEndPointArg : TSSICom::SetStartPointArg)) {
        ReadRangePoints();
        return;
    }
    state.ShowNotConnected();
    contract_.show(mainmessages::Id::MagnetError);
}

void RangePoints::remove(bool endPoint) {
    MainState& state = contract_.state();
    const auto pause = state.PausePolling();
    field(endPoint).setText(QString());
    field(endPoint).repaint();
    if (!sendTeach(endPoint,
                   endPoint ? TSSICom::DeleteEndPointArg : TSSICom::DeleteStartPointArg)) {
        contract_.show(mainmessages::Id::OperationFailed);
        return;
    }
    ReadRangePoints();
    state.PollAtConnectedPace();
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
    if (auto text = RangePointText(controls_, contract_.state(), sensor, endPoint))
        field(endPoint).setText(*text);
    sensor[r].Answered = 1;
    return true;
}

}  // namespace params
