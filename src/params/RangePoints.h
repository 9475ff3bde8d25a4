#pragma once

#include "params/pages/PageControls.h"

class EditorContract;

namespace params {

// The taught measuring range: the start and end point as the sensor holds them,
// taught from the magnet's present position and deleted with the buttons.
class RangePoints {
public:
    RangePoints(PageControls& controls, EditorContract& contract)
        : controls_(controls), contract_(contract) {}

    // Reads both points, shows them and checks that the range is not empty. True
    // when both reads succeeded and the start point lies below the end point.
    bool ReadRangePoints();

    void SetStartPointClick();
    void SetEndPointClick();
    void DelStartPointClick();
    void DelEndPointClick();

private:
    bool readPoint(bool endPoint);
    LabeledEdit& field(bool endPoint);
    bool sendTeach(bool endPoint, const char* argument);
    void teach(bool endPoint);
    void remove(bool endPoint);

    PageControls& controls_;
    EditorContract& contract_;
};

}  // namespace params
