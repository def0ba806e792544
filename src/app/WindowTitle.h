#pragma once
// The main window's caption: the product caption, then the file part of the
// design's file name in brackets, "Unbenannt.zbg" while the design has none.
#include <QString>

namespace zb {

inline constexpr const char* kProductCaption = "VELKAN Zierbogen-Drucker 1.0";
inline constexpr const char* kUnnamedDesign = "Unbenannt.zbg";
inline constexpr const char* kApplicationTitle = "Zierbogen-Drucker";

QString WindowTitle(const QString& savedFileName);

} // namespace zb
