#include "app/StatusLine.h"

#include <optional>

#include "ui/Texts.h"
#include "ui/controls/StatusLamp.h"

namespace app {

namespace {

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
            return pick(uiLanguage, TextPair{"SSI-Sensor found on COM-Port " + argument,
                                             "SSI-Sensor gefunden an COM-Port " + argument});
        case Status::Established:
            return pick(uiLanguage, TextPair{"Communication established on COM-Port " + argument,
                                             "Verbindung hergestellt an COM-Port " + argument});
        case Status::UpdatePending:
            return pick(
                uiLanguage,
                TextPair{QStringLiteral("EEPROM-Update: Click Update to save new parameters"),
                         QStringLiteral(
                             "EEPROM-Update: Wählen Sie \"Update\" um Parameter zu speichern")});
        case Status::NotConnected:
            return pick(uiLanguage, TextPair{"COM" + argument + ": SSI-Sensor not connected...",
                                             "COM" + argument + ": SSI-Sensor nicht gefunden..."});
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
