#pragma once
// The program's icon for its windows, built into the program so a window shows
// it even when the program runs from a build tree with no icon theme.
#include <QIcon>

namespace zb {

// Name of the icon and of the desktop entry in an installed system.
inline constexpr const char* kDesktopName = "zierbogen-drucker";

QIcon ProgramIcon();

} // namespace zb
