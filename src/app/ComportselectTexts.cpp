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

const TextPair& serialNumberLine() {
    static const TextPair text{QStringLiteral("Serial number: %1"),
                               QStringLiteral("Seriennummer: %1")};
    return text;
}

const TextPair& driverLine() {
    static const TextPair text{QStringLiteral("Driver: %1"), QStringLiteral("Treiber: %1")};
    return text;
}

const TextPair& searchButton() {
    static const TextPair text{QStringLiteral("Search"), QStringLiteral("Suchen")};
    return text;
}

const TextPair& searching() {
    static const TextPair text{QStringLiteral("Searching %1 (%2 of %3) ..."),
                               QStringLiteral("Suche an %1 (%2 von %3) ...")};
    return text;
}

const TextPair& sensorFound() {
    static const TextPair text{QStringLiteral("%1: sensor %2, %3"),
                               QStringLiteral("%1: Sensor %2, %3")};
    return text;
}

const TextPair& noSensorFound() {
    static const TextPair text{
        QStringLiteral("No sensor answered on the listed ports."),
        QStringLiteral("An keinem der aufgeführten Ports hat ein Sensor geantwortet.")};
    return text;
}

const TextPair& addressLabel() {
    static const TextPair text{QStringLiteral("Network address:"),
                               QStringLiteral("Netzwerkadresse:")};
    return text;
}

const TextPair& addressForm() {
    static const TextPair text{
        QStringLiteral("Enter the address as rfc2217://HOST:PORT or socket://HOST:PORT."),
        QStringLiteral("Geben Sie die Adresse als rfc2217://HOST:PORT oder socket://HOST:PORT "
                       "ein.")};
    return text;
}

}  // namespace comporttexts
