#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// Points HOME, XDG_CONFIG_HOME and XDG_DATA_HOME into a fresh temporary folder
// for as long as it lives, so that the settings file and the data of a test are its own.
class TempHome {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    QString path() const { return dir_.path(); }
    QString settingsPath() const;
    // The per-user data folder of the desktop program.
    QString dataPath() const;
    // Writes the settings file with exactly these bytes.
    void writeSettings(const QByteArray& bytes) const;
    QByteArray readSettings() const;

private:
    QTemporaryDir dir_;
    QByteArray oldHome_;
    QByteArray oldConfig_;
    QByteArray oldData_;
};
