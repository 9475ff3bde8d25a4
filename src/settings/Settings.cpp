#include "settings/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
#include <cmath>
#include <limits>

#include "platform/AtomicFile.h"

namespace {

[[noreturn]] void fail(const QString& text) {
    throw SettingsError(text.toStdString());
}

bool isInt32(double number) {
    return std::floor(number) == number && number >= std::numeric_limits<int32_t>::min() &&
           number <= std::numeric_limits<int32_t>::max();
}

}  // namespace

QString SettingsStore::defaultPath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/KYR/Torvane.json");
}

SettingsStore::SettingsStore(QString path) : path_(std::move(path)) {}

void SettingsStore::open() {
    if (!QFileInfo::exists(path_))
        writeFile(QJsonObject());
    values_ = readFile();
    open_ = true;
}

void SettingsStore::load() {
    values_ = readFileIfPresent();
    open_ = true;
}

void SettingsStore::close() {
    values_ = QJsonObject();
    open_ = false;
}

bool SettingsStore::hasValue(const QString& name) const {
    return values_.contains(name) && !values_.value(name).isObject();
}

bool SettingsStore::hasSubkey(const QString& name) const {
    return values_.value(name).isObject();
}

int32_t SettingsStore::readInteger(const QString& name) const {
    const QJsonValue value = values_.value(name);
    if (!value.isDouble() || !isInt32(value.toDouble()))
        typeError(name);
    return static_cast<int32_t>(value.toDouble());
}

QString SettingsStore::readText(const QString& name) const {
    const QJsonValue value = values_.value(name);
    if (value.isUndefined())
        return {};
    if (!value.isString())
        typeError(name);
    return value.toString();
}

// Builds on the file as it is now, not on the copy read at opening: closing
// empties that copy, and another program may have changed the file since.
void SettingsStore::writeInteger(const QString& name, int32_t value) {
    QJsonObject current = readFileIfPresent();
    if (current.value(name).isObject())
        typeError(name);
    current.insert(name, value);
    writeFile(current);
    if (open_)
        values_ = current;
}

void SettingsStore::writePortMapEntry(int port, const QString& path) {
    QJsonObject current = readFileIfPresent();
    if (current.contains(PortMap) && !current.value(PortMap).isObject())
        typeError(PortMap);
    QJsonObject entries = current.value(PortMap).toObject();
    entries.insert(QString::number(port), path);
    current.insert(PortMap, entries);
    writeFile(current);
    if (open_)
        values_ = current;
}

std::map<int, std::string> SettingsStore::portMap() const {
    std::map<int, std::string> paths;
    if (!values_.contains(PortMap))
        return paths;
    if (!hasSubkey(PortMap))
        typeError(PortMap);
    const QJsonObject entries = values_.value(PortMap).toObject();
    for (auto entry = entries.begin(); entry != entries.end(); ++entry) {
        bool isNumber = false;
        const int port = entry.key().toInt(&isNumber);
        if (!isNumber || port < 1 || port > 255 || !entry.value().isString()) {
            typeError(PortMap + QStringLiteral("/") + entry.key());
        }
        paths[port] = entry.value().toString().toStdString();
    }
    return paths;
}

QJsonObject SettingsStore::readFile() const {
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("Cannot read the settings file %1: %2").arg(path_, file.errorString()));
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError) {
        fail(QStringLiteral("The settings file %1 is not valid JSON: %2 at offset %3")
                 .arg(path_, error.errorString())
                 .arg(error.offset));
    }
    if (!document.isObject()) {
        fail(QStringLiteral("The settings file %1 does not hold a JSON object").arg(path_));
    }
    return document.object();
}

QJsonObject SettingsStore::readFileIfPresent() const {
    return QFileInfo::exists(path_) ? readFile() : QJsonObject();
}

void SettingsStore::writeFile(const QJsonObject& values) const {
    if (!QDir().mkpath(QFileInfo(path_).absolutePath())) {
        fail(QStringLiteral("Cannot create the folder of the settings file %1").arg(path_));
    }
    const QByteArray text = QJsonDocument(values).toJson(QJsonDocument::Indented);
    const platform::WriteResult written = platform::WriteFileAtomically(
        QFile::encodeName(path_).toStdString(), std::string_view(text.constData(), text.size()));
    if (!written.ok) {
        fail(QStringLiteral("Cannot write the settings file %1: %2")
                 .arg(path_, QString::fromStdString(written.reason)));
    }
}

void SettingsStore::typeError(const QString& name) const {
    fail(QStringLiteral("Invalid data type for '%1' in %2").arg(name, path_));
}
