#pragma once

class LabeledEdit;
class MainState;
class TSSICom;

namespace files {

// The fields of the parameter pages that the ultrasonic-speed handling reads and shows.
struct SpeedFields {
    LabeledEdit& UltrasonicSpeed;
    LabeledEdit& Scale;
    LabeledEdit& Offset;
};

// The live handling of the ultrasonic-speed field, run after a load as if the
// user had just entered the speed the field shows: the scale follows the
// sensor's own speed and the loaded resolution, and the offset is written
// again from its field.
class SpeedFieldsAfterLoad {
public:
    SpeedFieldsAfterLoad(MainState& state, TSSICom& sensor, SpeedFields fields)
        : state_(state), sensor_(sensor), fields_(fields) {}

    void Run();

private:
    void rewriteOffset();

    MainState& state_;
    TSSICom& sensor_;
    SpeedFields fields_;
};

}  // namespace files
