#pragma once

// The program's name and version as the user sees it: in the caption, the
// about box, the header of every parameter file and the reports. varnelctl
// names itself the same in the files it saves.
inline constexpr char ProgramTitleText[] = "Varnel 5.3.6";
