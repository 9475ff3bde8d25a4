#pragma once

#include <cstdint>

#include "ui/Dialogs.h"
#include "ui/Texts.h"

// Shows the message in the language's pair. A language without texts shows
// nothing and answers Closed, which is neither yes nor no.
MessageResult ShowPairedMessage(Dialogs& dialogs, uint8_t uiLanguage, const MessagePair& message,
                                MessageButtons buttons = MessageButtons::Ok,
                                MessageIcon icon = MessageIcon::None);
