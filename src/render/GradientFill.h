#pragma once
// Gradient layers: every pixel moves from colour 1 towards colour 2 along one
// of four directions.
//
// Per channel: value = c1 + ((c2 - c1) * t) / d in signed integers, the
// quotient truncated toward zero, so the value never overshoots c2.
//   0 top -> bottom:              t = y,               d = H - 1
//   1 left -> right:              t = x,               d = W - 1
//   2 top left -> bottom right:   t = x + y,           d = W + H - 2
//   3 top right -> bottom left:   t = (W - 1 - x) + y, d = W + H - 2
// A direction outside 0 .. 3 counts as 0. When d is 0 (the raster is one pixel
// long in that direction) t is 0 too, and every pixel takes colour 1.
// x, y, W and H are sheet coordinates and the sheet's size: a raster that is a
// window of the sheet gets the window's part of the sheet's gradient.
#include <cstdint>

#include "base/RasterView.h"
#include "base/SheetWindow.h"

namespace zb {

// Colours are colour values (red in the lowest byte). Writes only the pixel
// bytes of each row, never the row padding. Splits the rows over the cores
// (ParallelRows) when the raster is large.
void FillGradient(RasterView raster, uint32_t color1, uint32_t color2, int32_t direction,
                  const SheetWindow& window = {});

// The same result computed pixel by pixel from the formula; kept as the
// yardstick for FillGradient.
void FillGradientReference(RasterView raster, uint32_t color1, uint32_t color2, int32_t direction,
                           const SheetWindow& window = {});

} // namespace zb
