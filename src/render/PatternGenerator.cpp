#include "render/PatternGenerator.h"

#include "base/StopScope.h"

#include <algorithm>
#include <cmath>

#include "imaging/PixelPattern.h"
#include "model/LayerChoices.h"

namespace zb {

namespace {

constexpr double kMillimetresPerInch = 25.39995;

// All shape geometry is in 64-bit integers: corners may lie far outside the
// raster and sizes reach kMaxPatternSizePx, whose square needs more than 32 bits.
using Coord = int64_t;

// Columns xa .. xb (inclusive) of row y, which lies inside the raster. The span
// is clipped once here; the fill itself never tests a pixel.
inline void FillRowSpan(const RasterView& raster, Coord y, Coord xa, Coord xb, const PixelPattern& colour) {
    xa = std::max<Coord>(xa, 0);
    xb = std::min<Coord>(xb, raster.width - 1);
    if (xa > xb) return;
    colour.fill(raster.row(int(y)) + xa * 3, xb - xa + 1);
}

// Rows y0 .. y1 and columns x0 .. x1, all inclusive. Empty when y1 < y0 or
// x1 < x0 (rectangles of negative extent from foreign files draw nothing).
void FillBox(const RasterView& raster, Coord x0, Coord y0, Coord x1, Coord y1, const PixelPattern& colour) {
    const Coord xa = std::max<Coord>(x0, 0);
    const Coord xb = std::min<Coord>(x1, raster.width - 1);
    const Coord ya = std::max<Coord>(y0, 0);
    const Coord yb = std::min<Coord>(y1, raster.height - 1);
    if (xa > xb || ya > yb) return;
    const ptrdiff_t count = xb - xa + 1;
    for (Coord y = ya; y <= yb; ++y) colour.fill(raster.row(int(y)) + xa * 3, count);
}

// floor(sqrt(q)) for 0 <= q < 2^53: the double square root is within one of
// the answer, and the integer corrections make it exact.
inline Coord ISqrt(Coord q) {
    Coord h = Coord(std::sqrt(double(q)));
    while (h * h > q) --h;
    while ((h + 1) * (h + 1) <= q) ++h;
    return h;
}

// Disc of size m with top-left corner (x0, y0): the pixels with
// (x - cx)^2 + (y - cy)^2 <= r^2, r = m div 2, centre (x0 + r, y0 + r). Row y
// is the span cx - h .. cx + h with h = floor(sqrt(r^2 - dy^2)). From row to
// row h changes by at most one except near the top and bottom of large discs,
// so it is stepped and only recomputed when a step does not suffice.
void FillDisc(const RasterView& raster, Coord x0, Coord y0, Coord m, const PixelPattern& colour) {
    const Coord r = m / 2;
    const Coord cx = x0 + r;
    const Coord cy = y0 + r;
    if (cx + r < 0 || cx - r >= raster.width) return;
    const Coord ya = std::max<Coord>(cy - r, 0);
    const Coord yb = std::min<Coord>(cy + r, raster.height - 1);
    if (ya > yb) return;
    const Coord r2 = r * r;
    Coord dy = ya - cy;
    Coord h = ISqrt(r2 - dy * dy);
    for (Coord y = ya;;) {
        FillRowSpan(raster, y, cx - h, cx + h, colour);
        if (++y > yb) break;
        ++dy;
        const Coord q = r2 - dy * dy;
        if ((h + 1) * (h + 1) <= q) {
            ++h;
            if ((h + 1) * (h + 1) <= q) h = ISqrt(q);
        } else if (h * h > q) {
            --h;
            if (h * h > q) h = ISqrt(q);
        }
    }
}

// Triangle pointing down: row y0 + t spans x0 + inset .. x0 + m - inset with
// inset = ((m div 2) * t) div m. The numerator grows by m div 2 < m per row, so
// inset grows by at most one; quotient and remainder are carried along. Its
// mirror image top to bottom (`up`) has row y0 + m - t span the same columns.
void FillTriangle(const RasterView& raster, Coord x0, Coord y0, Coord m, const PixelPattern& colour,
                  bool up = false) {
    if (x0 + m < 0 || x0 >= raster.width) return;
    const Coord ya = std::max<Coord>(y0, 0);
    const Coord yb = std::min<Coord>(y0 + m, raster.height - 1);
    if (ya > yb) return;
    const Coord half = m / 2;
    if (up) {
        for (Coord y = ya; y <= yb; ++y) {
            const Coord inset = half * (y0 + m - y) / m;
            FillRowSpan(raster, y, x0 + inset, x0 + m - inset, colour);
        }
        return;
    }
    const Coord numerator = half * (ya - y0);
    Coord inset = numerator / m;
    Coord remainder = numerator % m;
    for (Coord y = ya; y <= yb; ++y) {
        FillRowSpan(raster, y, x0 + inset, x0 + m - inset, colour);
        remainder += half;
        if (remainder >= m) {
            remainder -= m;
            ++inset;
        }
    }
}

} // namespace

int32_t PatternSizePx(double sizeMM, double screenPpi, double zoom) {
    const double px = zoom * (sizeMM / kMillimetresPerInch * screenPpi) / 100.0;
    if (std::isnan(px)) return 0;
    if (px >= double(kMaxPatternSizePx)) return kMaxPatternSizePx;
    if (px <= -double(kMaxPatternSizePx)) return -kMaxPatternSizePx;
    return int32_t(px); // truncates toward zero
}

void GeneratePattern(RasterView raster, const TLayerRecord& layer, double screenPpi, double zoom,
                     RandomInt& random, const TileWrap& wrap, const SheetWindow& window) {
    const Coord sizePx = PatternSizePx(layer.PatternSizeMM, screenPpi, zoom);

    // The layer's rectangle extents (rows, columns), drawn for every pattern
    // layer whatever its shape, so the sequence of draws never depends on it.
    Coord layerRows = sizePx;
    Coord layerCols = sizePx;
    if (random(2) == 0)
        layerRows = random(sizePx);
    else
        layerCols = random(sizePx);

    if (layer.PatternCount < 1) return;
    const int32_t count = std::min(layer.PatternCount, kMaxPatternCount);

    // Positions range over the sheet; shapes land shifted by the window's corner.
    const Coord width = window.Width(raster);
    const Coord height = window.Height(raster);
    const Coord left = window.Left();
    const Coord top = window.Top();
    const bool visible = !raster.empty();
    const int32_t shape = layer.PatternShape;
    const int32_t colourMode = layer.PatternColorMode;
    const bool randomSize = layer.PatternSizeMode == kPatternSizeRandom;
    const bool randomPos = layer.PatternPosMode == kPositionRandom;
    const uint32_t base = layer.PatternColor;

    for (int32_t i = 0; i < count; ++i) {
        // A cancelled composition is thrown away: stop drawing.
        if ((i & 255) == 255 && StopRequested()) return;
        // Colour: separate statements keep the draws in the order red, green, blue.
        uint8_t red = RedOf(base);
        uint8_t green = GreenOf(base);
        uint8_t blue = BlueOf(base);
        if (colourMode == kColorRandom) {
            red = uint8_t(random(256));
            green = uint8_t(random(256));
            blue = uint8_t(random(256));
        } else if (colourMode == kColorSimilar) {
            const int k = random(50) + 51;
            red = uint8_t(red * k / 100);
            green = uint8_t(green * k / 100);
            blue = uint8_t(blue * k / 100);
        }

        Coord m = randomSize ? Coord(random(sizePx)) + 1 : sizePx;
        if (m < 1) m = 1;

        Coord x0 = Coord(random(width + m)) - m;
        Coord y0 = Coord(random(height + m)) - m;
        if (randomPos && wrap.On()) {
            // On a tile, a corner m pixels left of the edge is the same place
            // as one m pixels left of the opposite edge; taken as drawn, the
            // last m columns and rows would get twice the shapes of the rest
            // and show as a band. The same draw spreads the corners evenly:
            // draw r of width + m places the corner at (r + 1/2) of the width
            // in steps of width / (width + m), so the m places that take two
            // draws lie apart, none of them at an edge.
            x0 = (2 * (x0 + m) + 1) * width / (2 * (width + m));
            y0 = (2 * (y0 + m) + 1) * height / (2 * (height + m));
        }
        if (!randomPos) {
            // Grid of cell size m from the top-left corner; / truncates toward zero.
            x0 = x0 / m * m;
            y0 = y0 / m * m;
        }

        Coord rows = layerRows;
        Coord cols = layerCols;
        if (shape == kShapeRectangles && randomSize) {
            rows = m;
            cols = m;
            if (random(2) == 0)
                rows = random(m);
            else
                cols = random(m);
        }

        if (!visible) continue;
        const PixelPattern colour(blue, green, red);
        // The shape's extent right of and below its corner.
        Coord right = m, below = m;
        if (shape == kShapeRectangles) right = cols, below = rows;
        else if (shape == kShapeStripes) right = m / 10;
        else if (shape == kShapeStripes2) below = m / 10;
        // Rectangles of negative extent (sizes from foreign files) draw nothing
        // but are placed like an empty box.
        const Coord spanX = std::max<Coord>(right, 0), spanY = std::max<Coord>(below, 0);
        if (randomPos && wrap.mirror) {
            // In the mirrored repeat each edge meets the mirror image of its
            // own side: the spread places stand for the shapes' middles, so
            // that the plane of mirrored copies has them alike everywhere.
            x0 -= spanX / 2;
            y0 -= spanY / 2;
        }
        wrap.ForEachCopy(x0, y0, x0 + spanX, y0 + spanY, [&](const TileCopy& copy) {
            const Coord x = copy.Left(x0, x0 + spanX) - left, y = copy.Top(y0, y0 + spanY) - top;
            switch (shape) {
            case kShapeDiscs: {
                // Mirrored about its middle, which lies r from its corner.
                const Coord r = m / 2;
                FillDisc(raster, copy.X(x0 + r) - r - left, copy.Y(y0 + r) - r - top, m, colour);
                break;
            }
            case kShapeTriangles: FillTriangle(raster, x, y, m, colour, copy.flipY); break;
            case kShapeRectangles:
            case kShapeSquares:
            case kShapeStripes:
            case kShapeStripes2: FillBox(raster, x, y, x + right, y + below, colour); break;
            default: break; // unknown shapes draw nothing; their draws are done above
            }
        });
    }
}

} // namespace zb
