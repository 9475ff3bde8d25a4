#pragma once

#include "ui/Texts.h"

// The texts of the port choice: the dialog and the advice on ports this account may not open.
namespace comporttexts {

const TextPair& request();
const TextPair& connectButton();
const TextPair& quitButton();
// %1 stands for the ports, one per line.
const TextPair& permissionAdvice();
// %1 stands for the port.
const TextPair& inUseAdvice();

// The lines of a port's description in its tool tip; %1 stands for the value.
const TextPair& serialNumberLine();
const TextPair& driverLine();

// The search for a sensor on the listed ports.
const TextPair& searchButton();
// %1 the port, %2 its place in the list, %3 the number of ports.
const TextPair& searching();
// %1 the port, %2 the factory number, %3 the model.
const TextPair& sensorFound();
const TextPair& noSensorFound();

// The network address a port number may lead to instead of a device.
const TextPair& addressLabel();
const TextPair& addressForm();

}  // namespace comporttexts
