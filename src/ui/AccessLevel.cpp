#include "ui/AccessLevel.h"

#include "settings/Settings.h"

TAccessLevel lookUpAccessLevel(const SettingsStore& settings) {
    if (settings.hasSubkey(SettingsStore::FactoryKey))
        return TAccessLevel::User;
    const QString key = settings.readText(SettingsStore::FactoryKey);
    if (key == FactoryCode)
        return TAccessLevel::Factory;
    if (key == DeveloperCode)
        return TAccessLevel::Developer;
    return TAccessLevel::User;
}
