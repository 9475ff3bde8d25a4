#pragma once

#include <QString>

// The program's name and version as the user sees it: in the caption, the
// about box and the header of every parameter file.
inline const QString ProgramTitle = QStringLiteral("Varnel 5.3.6");

// The build's file version, from the project version.
inline const QString BuildVersion = QStringLiteral(VARNEL_BUILD_VERSION);
