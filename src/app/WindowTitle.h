#pragma once
// The main window's caption: the product caption, then the file part of the
// design's file name in brackets, "Unbenannt.zbg" while the design has none.
#include <QString>
#include <cstdint>

namespace zb {

inline constexpr const char* kProductCaption = "VELKAN Zierbogen-Drucker 1.0";
inline constexpr const char* kUnnamedDesign = "Unbenannt.zbg";
inline constexpr const char* kApplicationTitle = "Zierbogen-Drucker";

QString WindowTitle(const QString& savedFileName);

// The status bar's sheet number ("Bogen Nr. 123", "(festgehalten)" while held)
// and its tool tip: the command that composes the same sheet.
QString SheetCaption(uint32_t number, bool held);
QString SheetCommandHint(uint32_t number, double zoom, int screenPpi);

} // namespace zb
