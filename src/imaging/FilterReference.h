#pragma once
// The filter algorithm written out plainly: a bordered working copy of the
// whole raster, 25 multiplications per channel. Slow; kept as the yardstick
// the fast routine is tested against.
#include "imaging/FilterTable.h"
#include "base/RasterView.h"

namespace zb {

// Same contract as ApplyFilter: filters in place and returns false, with the
// raster unchanged, when the working copy cannot be allocated. Channel sums
// are 32-bit and wrap on overflow; a divisor of 0 counts as 1.
bool ApplyFilterReference(RasterView raster, const FilterEntry& filter);

} // namespace zb
