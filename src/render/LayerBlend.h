#pragma once
// Laying a generated layer over the design beneath it.
#include <cstdint>

#include "base/RasterView.h"

namespace zb {

// The blend weight S of a layer: its transparency plus 5, the track bar
// position 0 .. 10. Values outside that range (only foreign files carry them)
// are held at 0 (opaque) or 10 (invisible).
int BlendWeight(int32_t transparency);

// floor(x / 10) for 0 <= x <= 2550 as a multiply-high: x * 6554 >> 16. Exact up
// to 16383, far beyond the largest blend sum 255 * 10.
constexpr uint32_t DivideBy10(uint32_t x) { return (x * 6554u) >> 16; }

// For every channel byte: design = (layer * (10 - S) + design * S) div 10.
// S = 0 copies the layer, S = 10 leaves the design untouched. Both views have
// the same size; only pixel bytes are read and written. The bytes of all three
// channels get the same weights, so a row is blended as one run of bytes.
void BlendLayer(RasterView design, RasterView layer, int weight);
// The same into `out` (of the same size), leaving the design as it is; `out`
// may be the design itself. The bytes are those BlendLayer gives.
void BlendLayerInto(RasterView out, RasterView design, RasterView layer, int weight);

// The same byte by byte with a plain division; the yardstick for BlendLayer.
void BlendLayerReference(RasterView design, RasterView layer, int weight);

} // namespace zb
