#include "firmware/gui/FirmwareTexts.h"

namespace firmware::texts {

MessagePair pair(Message id) {
    return pair(message(id));
}

MessagePair pair(const MessageText& message) {
    const QString text = QString::fromStdString(message.text);
    const QString caption = QString::fromStdString(message.caption);
    return {{text, text}, {caption, caption}};
}

const MessagePair& updateQuestion() {
    static const MessagePair question{{QStringLiteral("Want you update\nthe loaded file?"),
                                       QStringLiteral("Software aktualisieren?")},
                                      {QStringLiteral("Warning"), QStringLiteral("Warnung")}};
    return question;
}

}  // namespace firmware::texts
