#pragma once
// Facts about the program shown in its window and about box.

namespace zb {

// The project's home page, opened from the bottom strip and the about box.
inline constexpr const char* kProjectWebAddress = "https://zierbogen-drucker.example.org";
inline constexpr const char* kProductName = "Zierbogen-Drucker";

} // namespace zb
