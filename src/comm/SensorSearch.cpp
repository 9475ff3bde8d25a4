#include "comm/SensorSearch.h"

#include "comm/SensorRules.h"
#include "platform/SavedLineSettings.h"

namespace search {

namespace {

bool SensorAnswers(TSSICom& link) {
    link.Purge();
    return link.CheckPort() && link.ReadRegister(TSSICom::FactoryNumber);
}

}  // namespace

PortOutcome TryPort(TSSICom& link, const platform::PortEntry& port) {
    const platform::SavedLineSettings lineSettings(port.devicePath);
    PortOutcome outcome{port, PortOutcome::Result::NoSensor, {}, {}, {}};
    if (!link.OpenDefault(static_cast<uint8_t>(port.number))) {
        outcome.result = PortOutcome::Result::NotOpened;
        outcome.error = link.LastError();
        return outcome;
    }
    if (SensorAnswers(link)) {
        outcome.result = PortOutcome::Result::Found;
        outcome.factoryNumber = link[TSSICom::FactoryNumber].Reply;
        if (link.ReadRegister(TSSICom::Model))
            outcome.model = rules::FamilyLine(rules::ModelCodeFor(link[TSSICom::Model].Value));
    }
    link.Close();
    return outcome;
}

}  // namespace search
