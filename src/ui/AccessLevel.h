#pragma once

#include <QString>

class SettingsStore;

enum class TAccessLevel { User, Factory, Developer };

inline const QString FactoryCode = QStringLiteral("731846205913");
inline const QString DeveloperCode = QStringLiteral("5820463917305286");

// Chooses the level from the settings value FactoryKey. A subkey of that name
// blocks the lookup; the code must match whole and case-sensitive. Throws
// SettingsError when FactoryKey holds something other than text.
TAccessLevel lookUpAccessLevel(const SettingsStore& settings);
