#pragma once

#include <QString>

#include "comm/ProgramTitle.h"

inline const QString ProgramTitle = QString::fromLatin1(ProgramTitleText);

// The build's file version, from the project version.
inline const QString BuildVersion = QStringLiteral(VARNEL_BUILD_VERSION);
