#pragma once
// Scaled drawing of a DIB record (or a rectangle of it) onto a device: every
// bitmap that reaches a window, an image or the printer goes through DrawDib.
//
// On a screen, 24- and 8-bit pictures are scaled here, nearest neighbour, into
// a reusable band of destination rows that the device draws one pixel per
// pixel; only the rows and columns the device reports visible are rendered,
// and when enlarging a repeated source row is not gathered again. Printers,
// other depths and halftoned copies go through the device's StretchDib, with
// two fallbacks when that fails.
//
// Ownership: DrawDib reads the record's pixels and never changes or frees
// them; temporary bitmaps it makes are released before it returns.
#include <cstdint>
#include <vector>

#include "base/TDibRecord.h"
#include "imaging/DibDevice.h"

namespace zb {

// Rounds to the nearest whole number, halves to the even neighbour.
int64_t RoundHalfEven(double value);

// Destination and source rectangles of one DrawDib call. srcY counts rows in
// storage order (0 = the picture's bottom row).
struct DibDrawRect {
    int32_t x = 0, y = 0, destW = 0, destH = 0;
    int32_t srcX = 0, srcY = 0, srcW = 0, srcH = 0;

    bool operator==(const DibDrawRect&) const = default;
};

// Cuts the source rectangle to a picture of width x height and shrinks the
// destination in proportion, in this order: the right edge, the bottom (the
// destination's bottom is cut), the top (the destination's top moves down) and
// the left edge (the destination's left moves right). Products are taken in
// 64 bits, so large destinations do not overflow.
DibDrawRect ClipDibSource(DibDrawRect r, int32_t width, int32_t height);

// Source column of destination column i when srcW columns are spread over
// destW: srcX + srcW * i div destW, computed in 64 bits.
inline int64_t DibSourceColumn(int32_t srcX, int32_t srcW, int32_t destW, int64_t i) {
    return int64_t(srcX) + int64_t(srcW) * i / destW;
}

// What a row renderer did, for tests and benchmarks.
struct DibRowStats {
    int64_t rowsSent = 0;    // destination rows handed to the device
    int64_t rowsCopied = 0;  // source rows gathered into the row buffer
    int64_t bands = 0;       // SetDibRows calls
};

// Row renderers for 24- and 8-bit pictures on a screen. srcTop counts rows
// from the picture's top to the top of the source rectangle. Positions whose
// source column lies outside the picture stay black (index 0).
DibRowStats DrawDibRows24(DibDevice& dc, int32_t X, int32_t Y, int32_t DestW, int32_t DestH,
                          const TDibRecord& dib, int32_t SrcX, int32_t SrcTop, int32_t SrcW, int32_t SrcH);
DibRowStats DrawDibRows8(DibDevice& dc, int32_t X, int32_t Y, int32_t DestW, int32_t DestH,
                         const TDibRecord& dib, int32_t SrcX, int32_t SrcTop, int32_t SrcW, int32_t SrcH);

// Draws the source rectangle (SrcY in storage order) of `dib` scaled to
// (X, Y, DestW, DestH). AllowHalftone lets a 24-bit picture be halftoned on a
// display of at most 8 bits per pixel. UseOwnPalette is accepted for callers
// that state it; colour tables travel with the pixels, so it changes nothing.
void DrawDib(DibDevice& dc, int32_t X, int32_t Y, int32_t DestW, int32_t DestH, const TDibRecord& dib,
             int32_t SrcX, int32_t SrcY, int32_t SrcW, int32_t SrcH, bool AllowHalftone, bool UseOwnPalette);

// Messages of the last resort.
inline constexpr const char* kNoBitmapMessage = "Konnte Bitmap nicht erzeugen!";
inline constexpr const char* kNoSetDibitsMessage = "Das Gerät unterstützt die Funtkion setdibits nicht!";
inline constexpr const char* kNoStretchBltMessage = "Das Gerät unterstützt die Funktion StretchBlt nicht!";

} // namespace zb
