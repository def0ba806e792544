#pragma once
// A filter layer at another scale than the screen's. A 5 x 5 filter works on
// pixels, so on a sheet composed k times finer than the preview (printing,
// export) it would reach k times less far on paper. The scaled filter works
// at the preview's physical scale instead: each tap sees the average of the
// k x k pixels beneath it, and the 25 taps lie k pixels apart.
//
// Definition, for a whole scale k >= 1 and edges replicated (coordinates
// clamped to the raster):
//   h = k div 2
//   S(x, y) = sum of P(x - h + i, y - h + j) over i, j = 0 .. k - 1
//   A(x, y) = (S * M + 2^23) >> 24, M = round(2^24 / k^2), per channel
//             (the rounded average; at k = 1 exactly P)
//   out(x, y) = clamp(sum over a, b of weight(a, b) * A(x + (a-2)k, y + (b-2)k)
//               div Divisor + Bias, 0, 255), 32-bit sums as the plain filter.
// At k = 1 this is the plain filter, bit for bit.
#include <cstdint>

#include "base/RasterView.h"
#include "imaging/FilterRunner.h"
#include "imaging/FilterTable.h"

namespace zb {

// Largest scale the fixed-point average handles (S * M stays below 2^32).
inline constexpr int kMaxFilterScale = 128;

// The whole scale for a ratio of resolutions: rounded, at least 1, at most
// kMaxFilterScale.
int FilterScaleStep(double scale);

// Filters in place at scale k (clamped to 1 .. kMaxFilterScale). k = 1 is
// ApplyFilterWith itself. Returns false, with the raster unchanged, when the
// working memory cannot be allocated.
bool ApplyScaledFilter(RasterView raster, const FilterEntry& filter, int k,
                       const FilterRunOptions& options = {});

// The definition above as a plain loop over whole-raster copies: the
// yardstick of the fast routine. Slow (k^2 additions per pixel).
bool ApplyScaledFilterReference(RasterView raster, const FilterEntry& filter, int k);

} // namespace zb
