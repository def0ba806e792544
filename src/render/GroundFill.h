#pragma once
// The ground a pattern, filter or text layer starts from: white under the
// bottom layer, otherwise a copy of everything composed so far.
#include "base/RasterView.h"

namespace zb {

// Sets every pixel byte to 255.
void FillWhite(RasterView raster);

// Copies the pixel bytes of `source` into `target` (same size; otherwise
// nothing happens).
void CopyPixels(RasterView target, RasterView source);

} // namespace zb
