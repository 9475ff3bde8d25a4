#pragma once

#include <QPixmap>
#include <functional>

class MainState;
class TSSICom;
class TSensorTestDlg;

namespace testmode {

// The menu command Test Sensor: switches the sensor into its streaming test
// mode, shows its samples in the test window until the user quits, and takes
// the sensor back to the command exchange. The poll pauses meanwhile.
class SensorTest {
public:
    SensorTest(MainState& state, TSSICom& sensor, QPixmap logo);

    void TestSensorClick();

    // Called once the test window is shown, before the sensor is switched; tests
    // use it to reach the window.
    std::function<void(TSensorTestDlg&)> onShown;

private:
    MainState& state_;
    TSSICom& sensor_;
    QPixmap logo_;
};

}  // namespace testmode
