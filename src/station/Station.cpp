#include "station/Station.h"

namespace station {

namespace {

// The factory number of the sensor that answered; empty when the host stopped first.
std::string waitForSensor(TSSICom& sensor, uint8_t port, StationHost& host) {
    host.waitingForSensor();
    while (!host.stopRequested()) {
        if (SensorAnswers(sensor, port))
            return sensor[TSSICom::FactoryNumber].Reply;
        sensor.Sleep(StationPollMs);
    }
    return {};
}

void waitUntilGone(TSSICom& sensor, uint8_t port, const std::string& factoryNumber,
                   StationHost& host) {
    host.waitingForRemoval(factoryNumber);
    int silentPolls = 0;
    while (!host.stopRequested() && silentPolls < PollsBeforeGone) {
        const bool same =
            SensorAnswers(sensor, port) && sensor[TSSICom::FactoryNumber].Reply == factoryNumber;
        silentPolls = same ? 0 : silentPolls + 1;
        if (silentPolls < PollsBeforeGone)
            sensor.Sleep(StationPollMs);
    }
}

}  // namespace

bool SensorAnswers(TSSICom& sensor, uint8_t port) {
    if (!sensor.IsOpen() && !sensor.OpenDefault(port))
        return false;
    sensor.Purge();
    return sensor.CheckPort() && sensor.ReadRegister(TSSICom::FactoryNumber);
}

void RunStation(TSSICom& sensor, uint8_t port, const files::ParameterFile& file, bool again,
                StationHost& host) {
    while (!host.stopRequested()) {
        const std::string factoryNumber = waitForSensor(sensor, port, host);
        if (factoryNumber.empty())
            return;
        if (!again && host.doneToday(factoryNumber)) {
            host.skipped(factoryNumber);
        } else {
            host.applying(factoryNumber);
            host.applied(factoryNumber, Apply(sensor, file, true));
        }
        waitUntilGone(sensor, port, factoryNumber, host);
    }
}

}  // namespace station
