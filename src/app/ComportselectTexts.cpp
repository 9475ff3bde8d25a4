#include "app/ComportselectTexts.h"

namespace comporttexts {

const TextPair& request() {
    static const TextPair text{
        QStringLiteral("Please select an available COM-Port for the KYR-Varnel"),
        QStringLiteral("Bitte wählen sie den COM-Port für den Varnel aus")};
    return text;
}

const TextPair& connectButton() {
    static const TextPair text{QStringLiteral("&Connect"), QStringLiteral("&Verbinden")};
    return text;
}

const TextPair& quitButton() {
    static const TextPair text{QStringLiteral("&Quit"), QStringLiteral("&Abbrechen")};
    return text;
}

const TextPair& permissionAdvice() {
    static const TextPair text{
        QStringLiteral("These ports exist, but your account may not open them:\n%1\n\nAdd the "
                       "account to the group \"dialout\" (sudo usermod -aG dialout $USER), then "
                       "log out and in again."),
        QStringLiteral("Diese Ports sind vorhanden, aber Ihr Konto darf sie nicht öffnen:\n%1\n\n"
                       "Nehmen Sie das Konto in die Gruppe \"dialout\" auf (sudo usermod -aG "
                       "dialout $USER), dann ab- und wieder anmelden.")};
    return text;
}

const TextPair& inUseAdvice() {
    static const TextPair text{
        QStringLiteral("%1 is in use by another program.\n\nClose that program, or choose "
                       "another port."),
        QStringLiteral("%1 wird von einem anderen Programm benutzt.\n\nSchließen Sie dieses "
                       "Programm, oder wählen Sie einen anderen Port.")};
    return text;
}

}  // namespace comporttexts
