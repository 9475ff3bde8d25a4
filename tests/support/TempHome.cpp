#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

TempHome::TempHome() : oldHome_(qgetenv("HOME")), oldConfig_(qgetenv("XDG_CONFIG_HOME")) {
    qputenv("HOME", dir_.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (dir_.path() + QStringLiteral("/config")).toUtf8());
}

TempHome::~TempHome() {
    qputenv("HOME", oldHome_);
    qputenv("XDG_CONFIG_HOME", oldConfig_);
}

QString TempHome::settingsPath() const {
    return dir_.path() + QStringLiteral("/config/KYR/Torvane.json");
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
