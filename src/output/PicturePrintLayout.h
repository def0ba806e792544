#pragma once
// Where a picture lands on the printed page and in the page preview of the
// picture print dialog, and how its two percentage fields follow each other.
// Plain functions: the dialog only reads its controls into PicturePrintChoice
// and shows the answers.
#include <array>
#include <cstdint>
#include <string_view>

#include "render/PageGeometry.h"

namespace zb {

// The size radio buttons of the picture print dialog.
enum class PrintSizeMode {
    FullPage,     // "Seite voll nutzen"
    UserDefined,  // "Benutzerdefiniert"
};
inline constexpr std::array<std::string_view, 2> kPrintSizeModeCaptions = {"Seite voll nutzen",
                                                                           "Benutzerdefiniert"};

struct PicturePrintChoice {
    PrintSizeMode mode = PrintSizeMode::FullPage;
    int widthPercent = 50;   // "Breite in %:", 1 .. 100
    int heightPercent = 50;  // "Höhe in %:", 1 .. 100
    bool keepAspect = true;  // "Seitenverhältnis beibehalten"
    bool centred = true;     // "Zentrierte Ausgabe"
};

inline constexpr int kPercentMin = 1;
inline constexpr int kPercentMax = 100;

// The picture's rectangle on a page of pageW x pageH pixels, from the page's
// top-left corner. A picture or page without pixels gives an empty rectangle.
PixelRect PicturePrintRect(int64_t picW, int64_t picH, int64_t pageW, int64_t pageH, const PicturePrintChoice& c);

// The page picture of the preview on a surface of side x side pixels: a
// landscape page takes the full width, a portrait or square one the full
// height, centred.
PixelRect PreviewPageRect(int side, int64_t pageW, int64_t pageH);

// The picture's rectangle in the preview: the printed rectangle's rules on the
// page picture, placed on the surface.
PixelRect PreviewPictureRect(int side, int64_t picW, int64_t picH, int64_t pageW, int64_t pageH,
                             const PicturePrintChoice& c);

// The height percentage that keeps the picture's ratio on the page for a width
// percentage (and its mirror), limited to 1 .. 100 like the fields. Without
// pixels on either side the other value stays as it is.
int CoupledHeightPercent(int64_t picW, int64_t picH, int64_t pageW, int64_t pageH, int widthPercent,
                         int currentHeight);
int CoupledWidthPercent(int64_t picW, int64_t picH, int64_t pageW, int64_t pageH, int heightPercent,
                        int currentWidth);

} // namespace zb
