#include "render/GradientFill.h"

#include <cstring>

#include "base/ParallelRows.h"
#include "model/LayerChoices.h"
#include "render/RowFill.h"

namespace zb {

namespace {

struct Pixel {
    uint8_t b, g, r;
};

// One step of the gradient: t of d steps from c1 towards c2.
class Ramp {
public:
    Ramp(uint32_t c1, uint32_t c2, int64_t d)
        : d_(d), b1_(BlueOf(c1)), g1_(GreenOf(c1)), r1_(RedOf(c1)),
          db_(int64_t(BlueOf(c2)) - b1_), dg_(int64_t(GreenOf(c2)) - g1_), dr_(int64_t(RedOf(c2)) - r1_) {}

    Pixel at(int64_t t) const {
        if (d_ == 0) return {uint8_t(b1_), uint8_t(g1_), uint8_t(r1_)};
        // C++ division truncates toward zero, as the formula demands.
        return {uint8_t(b1_ + db_ * t / d_), uint8_t(g1_ + dg_ * t / d_), uint8_t(r1_ + dr_ * t / d_)};
    }

private:
    int64_t d_;
    int64_t b1_, g1_, r1_;
    int64_t db_, dg_, dr_;
};

inline void Put(uint8_t* p, Pixel c) {
    p[0] = c.b;
    p[1] = c.g;
    p[2] = c.r;
}

// A direction from a foreign file that is none of the four runs top to bottom.
int32_t NormalDirection(int32_t direction) {
    return (direction >= kGradientTopToBottom && direction <= kGradientTopRightDiagonal) ? direction
                                                                                        : kGradientTopToBottom;
}

} // namespace

void FillGradientReference(RasterView raster, uint32_t color1, uint32_t color2, int32_t direction,
                           const SheetWindow& window) {
    if (raster.empty()) return;
    const int64_t w = window.Width(raster), h = window.Height(raster);
    const int64_t left = window.Left(), top = window.Top();
    direction = NormalDirection(direction);
    const int64_t d = direction == kGradientTopToBottom ? h - 1 : direction == kGradientLeftToRight ? w - 1 : w + h - 2;
    const Ramp ramp(color1, color2, d);
    for (int ry = 0; ry < raster.height; ++ry) {
        for (int rx = 0; rx < raster.width; ++rx) {
            const int64_t x = left + rx, y = top + ry;
            int64_t t = 0;
            switch (direction) {
            case kGradientTopToBottom: t = y; break;
            case kGradientLeftToRight: t = x; break;
            case kGradientTopLeftDiagonal: t = x + y; break;
            default: t = (w - 1 - x) + y; break;
            }
            Put(raster.pixel(rx, ry), ramp.at(t));
        }
    }
}

void FillGradient(RasterView raster, uint32_t color1, uint32_t color2, int32_t direction,
                  const SheetWindow& window) {
    if (raster.empty()) return;
    // w, h: the raster's size; sheetW, sheetH, left, top: where it lies on the sheet.
    const int w = raster.width, h = raster.height;
    const int64_t sheetW = window.Width(raster), sheetH = window.Height(raster);
    const int64_t left = window.Left(), top = window.Top();
    const size_t rowBytes = size_t(w) * 3;
    const int64_t work = int64_t(rowBytes) * h;
    direction = NormalDirection(direction);

    switch (direction) {
    case kGradientTopToBottom: {
        // Every row is one colour.
        const Ramp ramp(color1, color2, sheetH - 1);
        ParallelRows(h, work, [&](int y0, int y1) {
            for (int y = y0; y < y1; ++y) {
                const Pixel c = ramp.at(top + y);
                rowfill::FillPixels(raster.row(y), size_t(w), c.b, c.g, c.r);
            }
        });
        break;
    }
    case kGradientLeftToRight: {
        // Every column is one colour: build the top row, copy it down.
        const Ramp ramp(color1, color2, sheetW - 1);
        uint8_t* first = raster.row(0);
        for (int x = 0; x < w; ++x) Put(first + 3 * x, ramp.at(left + x));
        ParallelRows(h - 1, work, [&](int y0, int y1) {
            for (int y = y0 + 1; y < y1 + 1; ++y) std::memcpy(raster.row(y), first, rowBytes);
        });
        break;
    }
    default: {
        // The colour depends on x + y (direction 2) or (W - 1 - x) + y
        // (direction 3). For direction 2 each row is the row above moved one
        // pixel to the left, with one new pixel at the right end; for
        // direction 3 each row is the row below moved one pixel to the left,
        // so its bands are built from the bottom up. Either way the copy writes
        // whole aligned rows and reads from an odd offset, which is the cheap
        // way round. Each band computes its first row in full.
        const Ramp ramp(color1, color2, sheetW + sheetH - 2);
        // t of raster pixel (x, y), counted in sheet coordinates.
        auto t = [&](int64_t x, int64_t y) {
            x += left;
            y += top;
            return direction == kGradientTopLeftDiagonal ? x + y : sheetW - 1 - x + y;
        };
        ParallelRows(h, work, [&](int y0, int y1) {
            const bool down = direction == kGradientTopLeftDiagonal;
            const int first = down ? y0 : y1 - 1;
            const int step = down ? 1 : -1;
            uint8_t* start = raster.row(first);
            for (int x = 0; x < w; ++x) Put(start + 3 * x, ramp.at(t(x, first)));
            for (int y = first + step; y >= y0 && y < y1; y += step) {
                uint8_t* row = raster.row(y);
                std::memcpy(row, raster.row(y - step) + 3, rowBytes - 3);
                Put(row + rowBytes - 3, ramp.at(t(w - 1, y)));
            }
        });
        break;
    }
    }
}

} // namespace zb
