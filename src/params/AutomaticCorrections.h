#pragma once

class MainState;
class TSSICom;

namespace params {

// The two settings the sensor must not keep together with another one: from the
// correction firmware on, the temperature bit needs 24 data bits and the velocity
// mode needs filter 0. Each correction tells the user, then writes the sensor.
class AutomaticCorrections {
public:
    AutomaticCorrections(MainState& state, TSSICom& sensor) : state_(state), sensor_(sensor) {}

    // Runs before the view shows the set, in the order the view shows the registers.
    void Apply();

private:
    void correctBitWidth();
    void correctFilter();

    MainState& state_;
    TSSICom& sensor_;
};

}  // namespace params
