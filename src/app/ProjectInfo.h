#pragma once
// Facts about the program shown in its window and about box.

namespace zb {

// The project's home page, opened from the bottom strip and the about box.
// The build sets it, and writes the same address into the desktop files and
// the package.
inline constexpr const char* kProjectWebAddress = ZB_HOMEPAGE;
inline constexpr const char* kProductName = "Zierbogen-Drucker";

} // namespace zb
