#include "app/StatusLine.h"

#include <optional>

#include "ui/MainTexts.h"
#include "ui/controls/StatusLamp.h"

namespace app {

namespace {

std::optional<QString> pickWithArgument(uint8_t uiLanguage, const TextPair& pair,
                                        const QString& argument) {
    if (auto text = pick(uiLanguage, pair))
        return text->arg(argument);
    return std::nullopt;
}

// The banner moves one character to the right; a "D" arriving in front blinks the lamp.
StatusShown ScrolledBanner(const StatusShown& now) {
    StatusShown next = now;
    if (next.text.isEmpty())
        return next;
    const QChar moved = next.text.back();
    next.text = moved + next.text.chopped(1);
    if (moved == QLatin1Char('D')) {
        next.lamp = now.lamp == StatusLamp::Yellow ? StatusLamp::Green : StatusLamp::Yellow;
    }
    return next;
}

std::optional<QString> PairedText(Status code, const QString& argument, uint8_t uiLanguage) {
    switch (code) {
        case Status::Found:
            return pickWithArgument(uiLanguage, maintexts::statusFound(), argument);
        case Status::Established:
            return pickWithArgument(uiLanguage, maintexts::statusEstablished(), argument);
        case Status::UpdatePending:
            return pick(uiLanguage, maintexts::statusUpdatePending());
        case Status::NotConnected:
            return pickWithArgument(uiLanguage, maintexts::statusNotConnected(), argument);
        case Status::ModemLinesSkipped:
            return pickWithArgument(uiLanguage, maintexts::statusModemLinesSkipped(), argument);
        case Status::HistoryMissed:
            return pickWithArgument(uiLanguage, maintexts::statusHistoryMissed(), argument);
        case Status::Demo:
            break;
    }
    return QString::fromLatin1(DemoBanner);
}

}  // namespace

StatusShown NextStatus(Status code, const QString& argument, uint8_t uiLanguage,
                       const StatusShown& now) {
    if (code == Status::Demo && !argument.isEmpty())
        return ScrolledBanner(now);
    StatusShown next = now;
    if (auto text = PairedText(code, argument, uiLanguage))
        next.text = *text;
    return next;
}

}  // namespace app
