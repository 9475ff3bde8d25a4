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

}  // namespace comporttexts
