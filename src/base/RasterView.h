#pragma once
// A non-owning view of a 24-bit raster in top-down coordinates: row(y) is the
// picture's row y counted from the top. A view of a DIB record starts at its
// top row with a negative stride, because DIB rows are stored bottom-up.
#include <cstddef>
#include <cstdint>

#include "base/TDibRecord.h"

namespace zb {

struct RasterView {
    uint8_t* data = nullptr;    // first pixel of the top row
    ptrdiff_t strideBytes = 0;  // from one row to the next one down; may be negative
    int width = 0;
    int height = 0;

    uint8_t* row(int y) const { return data + ptrdiff_t(y) * strideBytes; }
    // Pixel bytes blue, green, red.
    uint8_t* pixel(int x, int y) const { return row(y) + ptrdiff_t(x) * 3; }
    bool empty() const { return !data || width <= 0 || height <= 0; }
};

// View of a 24-bit DIB record (an empty view for any other record).
inline RasterView ViewOf(const TDibRecord& dib) {
    if (!dib.Bits || DibBitCount(dib) != 24) return {};
    const int h = DibHeight(dib);
    return RasterView{dib.Bits + ptrdiff_t(h - 1) * dib.BytesPerLine, -ptrdiff_t(dib.BytesPerLine),
                      DibWidth(dib), h};
}

} // namespace zb
