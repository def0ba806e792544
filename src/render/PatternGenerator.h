#pragma once
// Pattern layers: solid shapes scattered over the raster.
#include "imaging/RasterView.h"
#include "model/TLayerRecord.h"
#include "render/RandomInt.h"

namespace zb {

// Draws the layer's shapes into the raster (which already holds the ground
// fill). screenPpi is the horizontal pixels per inch of the target, zoom the
// zoom in percent. Draws from `random` in the fixed order of a pattern layer.
void GeneratePattern(RasterView raster, const TLayerRecord& layer, double screenPpi, double zoom,
                     RandomInt& random);

} // namespace zb
