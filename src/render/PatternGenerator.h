#pragma once
// Pattern layers: solid shapes scattered over the raster.
#include <cstdint>

#include "base/RasterView.h"
#include "base/SheetWindow.h"
#include "base/TileWrap.h"
#include "model/TLayerRecord.h"
#include "render/RandomInt.h"

namespace zb {

// Most shapes one layer draws: the largest count the editor offers. A record
// from a foreign file asking for more draws this many, as its field shows.
inline constexpr int32_t kMaxPatternCount = 100000;

// Largest nominal shape size in pixels. Real sizes stay below ~7100 (100 mm at
// 300 % on a 600 dpi printer); the cap keeps sizes from foreign files inside
// 32-bit random ranges (width + size < 2^31) and squared radii far inside 64 bits.
inline constexpr int32_t kMaxPatternSizePx = int32_t{1} << 24;

// The nominal shape size in pixels: Trunc(zoom * (sizeMM / 25.39995 * ppi) / 100),
// evaluated in this order. Not-a-number gives 0; results beyond
// +-kMaxPatternSizePx are limited to it.
int32_t PatternSizePx(double sizeMM, double screenPpi, double zoom);

// Draws the layer's shapes into the raster (which already holds the ground
// fill). screenPpi is the horizontal pixels per inch of the target, zoom the
// zoom in percent. Draws from `random` in the fixed order of a pattern layer.
// An empty raster receives no pixels, but the draws still happen.
// With a wrap (a seamless tile) each shape is drawn wherever one of its
// copies reaches the raster, so shapes crossing an edge continue on the
// opposite one; the draws are the same as without.
// With a window the raster is that part of the sheet: positions are drawn over
// the whole sheet and every shape is cut to the window, so the pixels are the
// sheet's and the draws are the same as for the whole sheet (also for an
// empty raster seen through a window).
void GeneratePattern(RasterView raster, const TLayerRecord& layer, double screenPpi, double zoom,
                     RandomInt& random, const TileWrap& wrap = {}, const SheetWindow& window = {});

} // namespace zb
