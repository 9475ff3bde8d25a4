#pragma once

#include "firmware/Messages.h"
#include "ui/Texts.h"

// The firmware page's messages. Those of the update itself read the same in
// both languages; only the menu command's question has two.
namespace firmware::texts {

MessagePair pair(Message id);
MessagePair pair(const MessageText& message);
const MessagePair& updateQuestion();

}  // namespace firmware::texts
