#include "firmware/gui/FirmwareTexts.h"

namespace firmware::texts {

MessagePair pair(Message id) {
    return pair(message(id));
}

MessagePair pair(const MessageText& message) {
    return {
        {QString::fromStdString(message.text), QString::fromStdString(message.germanText)},
        {QString::fromStdString(message.caption), QString::fromStdString(message.germanCaption)}};
}

const MessagePair& updateQuestion() {
    static const MessagePair question{{QStringLiteral("Want you update\nthe loaded file?"),
                                       QStringLiteral("Software aktualisieren?")},
                                      {QStringLiteral("Warning"), QStringLiteral("Warnung")}};
    return question;
}

}  // namespace firmware::texts
