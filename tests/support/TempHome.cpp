#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

TempHome::TempHome()
    : oldHome_(qgetenv("HOME")),
      oldConfig_(qgetenv("XDG_CONFIG_HOME")),
      oldData_(qgetenv("XDG_DATA_HOME")) {
    qputenv("HOME", dir_.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (dir_.path() + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (dir_.path() + QStringLiteral("/data")).toUtf8());
}

TempHome::~TempHome() {
    qputenv("HOME", oldHome_);
    qputenv("XDG_CONFIG_HOME", oldConfig_);
    qputenv("XDG_DATA_HOME", oldData_);
}

QString TempHome::settingsPath() const {
    return dir_.path() + QStringLiteral("/config/KYR/Torvane.json");
}

QString TempHome::dataPath() const {
    return dir_.path() + QStringLiteral("/data/KYR/varnel");
}

void TempHome::writeSettings(const QByteArray& bytes) const {
    QDir().mkpath(dir_.path() + QStringLiteral("/config/KYR"));
    QFile file(settingsPath());
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write the settings file");
    file.write(bytes);
}

QByteArray TempHome::readSettings() const {
    QFile file(settingsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
