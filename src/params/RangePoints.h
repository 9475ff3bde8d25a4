#pragma once

#include "params/pages/PageControls.h"

class EditorContract;

namespace params {

// The taught measuring range: the start and end point as the sensor holds them.
class RangePoints {
public:
    RangePoints(PageControls& controls, EditorContract& contract)
        : controls_(controls), contract_(contract) {}

    // Reads both points, shows them and checks that the range is not empty. True
    // when both reads succeeded and the start point lies below the end point.
    bool ReadRangePoints();

private:
    bool readPoint(bool endPoint);

    PageControls& controls_;
    EditorContract& contract_;
};

}  // namespace params
