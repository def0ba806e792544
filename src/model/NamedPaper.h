#pragma once
// Paper sizes by name for "Format:" on the page "Papierformat wählen". A
// named size fills width and height through the paper format's own rules
// (PaperFormat::SetNamedSize); a size typed by hand that is no named one
// shows as "Benutzerdefiniert".
#include <array>

namespace zb {

enum NamedPaper : int {
    kPaperCustom = 0,
    kPaperA5,
    kPaperA4,
    kPaperA3,
    kPaperA2,
    kPaperLetter,
    kPaperLegal,
    kPaperGiftWrap,
};
inline constexpr std::array<const char*, 8> kNamedPaperCaptions = {
    "Benutzerdefiniert", "A5", "A4", "A3", "A2", "Letter", "Legal", "Geschenkpapier 50 x 70 cm"};

enum PaperOrientation : int { kPortrait = 0, kLandscape = 1 };
inline constexpr std::array<const char*, 2> kPaperOrientationCaptions = {"Hochformat", "Querformat"};

struct PaperSizeCm {
    double width = 0;
    double height = 0;
};

// Width and height in cm of a named size (0 x 0 for kPaperCustom or an
// unknown value); portrait has the shorter side across.
PaperSizeCm NamedPaperSize(NamedPaper paper, PaperOrientation orientation);

// The named size that W x H cm is, as the fields show them (two decimals),
// in either orientation; kPaperCustom when none. `orientation` (may be null)
// receives the one that matched, else portrait for a size taller than wide.
NamedPaper NamedPaperOf(double width, double height, PaperOrientation* orientation);

} // namespace zb
