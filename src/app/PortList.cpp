#include "app/PortList.h"

#include <QStringList>
#include <cerrno>

#include "ui/Texts.h"

namespace app {

PortScan AvailablePorts(TSerialCom& prober, const platform::ComPortMap& ports) {
    PortScan scan;
    scan.entries.push_back({QStringLiteral("Demo"), {}});
    for (int port = 1; port <= HighestListedPort; ++port) {
        PortEntry entry{QStringLiteral("COM %1").arg(port), ports.devicePath(port)};
        if (prober.Probe(static_cast<uint8_t>(port))) {
            scan.entries.push_back(std::move(entry));
        } else if (!entry.devicePath.empty() && PermissionDenied(prober)) {
            scan.denied.push_back(std::move(entry));
        }
    }
    return scan;
}

bool PermissionDenied(const TSerialCom& port) {
    const int code = port.LastError().code;
    return code == EACCES || code == EPERM;
}

QString PermissionAdvice(const std::vector<PortEntry>& denied, uint8_t uiLanguage) {
    if (denied.empty())
        return {};
    QStringList lines;
    for (const auto& entry : denied) {
        lines << entry.text + " (" + QString::fromStdString(entry.devicePath) + ")";
    }
    const QString ports = lines.join('\n');
    return pick(uiLanguage,
                TextPair{
                    "These ports exist, but your account may not open them:\n" + ports +
                        "\n\nAdd the account to the group \"dialout\" (sudo usermod -aG dialout "
                        "$USER), then log out and in again.",
                    QStringLiteral("Diese Ports sind vorhanden, aber Ihr Konto darf sie nicht "
                                   "öffnen:\n") +
                        ports +
                        "\n\nNehmen Sie das Konto in die Gruppe \"dialout\" auf (sudo usermod -aG "
                        "dialout $USER), dann ab- und wieder anmelden."})
        .value_or(QString());
}

uint8_t ChoiceFromEntry(const QString& entry) {
    if (entry == QLatin1String("Demo"))
        return TSerialCom::DemoPort;
    bool ok = false;
    const int number = entry.mid(4).toInt(&ok);
    return ok ? static_cast<uint8_t>(number) : NoChoice;
}

}  // namespace app
