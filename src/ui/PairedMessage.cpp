#include "ui/PairedMessage.h"

MessageResult ShowPairedMessage(Dialogs& dialogs, uint8_t uiLanguage, const MessagePair& message,
                                MessageButtons buttons, MessageIcon icon) {
    const auto picked = pick(uiLanguage, message);
    if (!picked)
        return MessageResult::Closed;
    return dialogs.showMessage({picked->text, picked->caption, buttons, icon, uiLanguage});
}
