#include "app/PortList.h"

#include <QStringList>
#include <cerrno>

#include "app/ComportselectTexts.h"
#include "platform/NetworkPort.h"

namespace app {

PortScan AvailablePorts(TSerialCom& prober, const platform::ComPortMap& ports) {
    PortScan scan;
    const auto opens = [&](const PortEntry& entry) {
        if (prober.Probe(static_cast<uint8_t>(entry.number)))
            return true;
        if (PermissionDenied(prober))
            scan.denied.push_back(entry);
        return false;
    };
    scan.entries = platform::ListPorts(ports, opens);
    scan.entries.insert(scan.entries.begin(), PortEntry{TSerialCom::DemoPort, {}});
    return scan;
}

QString EntryText(const PortEntry& entry) {
    if (entry.number == TSerialCom::DemoPort)
        return QStringLiteral("Demo");
    return QStringLiteral("COM %1").arg(entry.number);
}

namespace {

// "COM 7 (/dev/ttyUSB6)"
QString EntryWithDevice(const PortEntry& entry) {
    return EntryText(entry) + " (" + QString::fromStdString(entry.devicePath) + ")";
}

}  // namespace

bool PermissionDenied(const TSerialCom& port) {
    const int code = port.LastError().code;
    return code == EACCES || code == EPERM;
}

bool InUseElsewhere(const TSerialCom& port) {
    return port.LastError().code == EBUSY;
}

QString PermissionAdvice(const std::vector<PortEntry>& denied, uint8_t uiLanguage) {
    if (denied.empty())
        return {};
    QStringList lines;
    for (const auto& entry : denied) {
        lines << EntryWithDevice(entry);
    }
    const auto advice = pick(uiLanguage, comporttexts::permissionAdvice());
    return advice ? advice->arg(lines.join('\n')) : QString();
}

QString InUseAdvice(const PortEntry& port, uint8_t uiLanguage) {
    const auto advice = pick(uiLanguage, comporttexts::inUseAdvice());
    return advice ? advice->arg(EntryWithDevice(port)) : QString();
}

QString PortToolTip(const PortEntry& entry, const platform::PortDescription& described,
                    uint8_t uiLanguage) {
    const auto text = [](const std::string& value) { return QString::fromStdString(value); };
    QStringList lines{text(entry.devicePath)};
    if (!described.byIdPath.empty())
        lines << text(described.byIdPath);
    QString adapter = (text(described.vendor) + ' ' + text(described.product)).trimmed();
    if (!described.vendorId.empty() || !described.productId.empty())
        adapter +=
            QStringLiteral(" (USB %1:%2)").arg(text(described.vendorId), text(described.productId));
    if (!adapter.trimmed().isEmpty())
        lines << adapter.trimmed();
    const auto labelled = [&](const TextPair& pair, const std::string& value) {
        const auto line = pick(uiLanguage, pair);
        if (!value.empty() && line)
            lines << line->arg(text(value));
    };
    labelled(comporttexts::serialNumberLine(), described.serial);
    labelled(comporttexts::driverLine(), described.driver);
    return lines.join('\n');
}

std::string RememberedPath(const platform::PortDescription& described) {
    return described.byIdPath.empty() ? described.devicePath : described.byIdPath;
}

bool IsNetworkAddress(const QString& text) {
    return platform::parseNetworkPort(text.toStdString()).has_value();
}

QString SearchResultLine(const search::PortOutcome& outcome, uint8_t uiLanguage) {
    if (outcome.result != search::PortOutcome::Result::Found)
        return {};
    const auto line = pick(uiLanguage, comporttexts::sensorFound());
    if (!line)
        return {};
    return line->arg(
        EntryText(outcome.port), QString::fromStdString(outcome.factoryNumber),
        outcome.model.empty() ? QStringLiteral("-") : QString::fromStdString(outcome.model));
}

uint8_t ChoiceFromEntry(const QString& entry) {
    if (entry == QLatin1String("Demo"))
        return TSerialCom::DemoPort;
    bool ok = false;
    const int number = entry.mid(4).toInt(&ok);
    return ok ? static_cast<uint8_t>(number) : NoChoice;
}

}  // namespace app
