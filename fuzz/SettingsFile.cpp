// The settings file. Reading a value either succeeds or throws SettingsError,
// and writing one value keeps the port map as it was.
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <map>
#include <string>

#include "settings/Settings.h"

namespace {
template <typename Read>
void tryRead(Read read) {
    try {
        read();
    } catch (const SettingsError&) {
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Torvane.json"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) {
        std::abort();
    }
    file.close();

    SettingsStore store(path);
    std::map<int, std::string> ports;
    try {
        store.open();
        tryRead([&] { store.readText(SettingsStore::FactoryKey); });
        tryRead([&] { store.readInteger(SettingsStore::ComPort); });
        ports = store.portMap();
        store.writeInteger(SettingsStore::Language, 1);
    } catch (const SettingsError&) {
        return 0;
    }
    SettingsStore reread(path);
    reread.open();
    if (reread.readInteger(SettingsStore::Language) != 1 || reread.portMap() != ports) {
        std::abort();
    }
    return 0;
}
