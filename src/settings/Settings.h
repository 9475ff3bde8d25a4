#pragma once

#include <QJsonObject>
#include <QString>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>

// A settings file that cannot be read, is no valid JSON, or holds a value of
// the wrong type.
class SettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The per-user settings: one JSON object in $XDG_CONFIG_HOME/KYR/Torvane.json
// (~/.config/KYR/Torvane.json by default). A member whose value is an object
// is a subkey; the others are values. The file is written atomically, and only
// when a value is written; writing one value keeps every other member of the
// file as it is, also while the store is closed.
class SettingsStore {
public:
    static inline const QString Language = QStringLiteral("Language");
    static inline const QString FactoryKey = QStringLiteral("FactoryKey");
    static inline const QString ComPort = QStringLiteral("COM-Port");
    static inline const QString PortMap = QStringLiteral("PortMap");
    static inline const QString HistoryDatabase = QStringLiteral("HistoryDatabase");

    static QString defaultPath();

    explicit SettingsStore(QString path = defaultPath());

    const QString& path() const { return path_; }

    // Reads the file, creating it and its folders when missing.
    void open();
    // Reads the file when it exists; a missing file holds no values and stays missing.
    void load();
    void close();
    bool isOpen() const { return open_; }

    bool hasValue(const QString& name) const;
    bool hasSubkey(const QString& name) const;
    // A value that is not a 32-bit integer is an error.
    int32_t readInteger(const QString& name) const;
    // A missing value reads as the empty text; a value that is not text is an error.
    QString readText(const QString& name) const;
    void writeInteger(const QString& name, int32_t value);

    // The explicit device paths of the subkey PortMap ("7": "/dev/...").
    std::map<int, std::string> portMap() const;
    // Sets one entry of PortMap, creating the subkey when missing; a PortMap that
    // is no subkey is an error.
    void writePortMapEntry(int port, const QString& path);

private:
    QJsonObject readFile() const;
    QJsonObject readFileIfPresent() const;
    void writeFile(const QJsonObject& values) const;
    [[noreturn]] void typeError(const QString& name) const;

    QString path_;
    QJsonObject values_;
    bool open_ = false;
};
