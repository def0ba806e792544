#pragma once
// Text layers: copies of the layer's text scattered over the raster.
#include "imaging/RasterView.h"
#include "model/TLayerRecord.h"
#include "render/FontEngine.h"
#include "render/RandomInt.h"

namespace zb {

// Stamps copies of the layer's text into the raster (which already holds the
// ground fill). screenPpi is the horizontal pixels per inch of the target,
// zoom the zoom in percent. Random fonts come from fonts.Families().
void ScatterText(RasterView raster, const TLayerRecord& layer, double screenPpi, double zoom,
                 RandomInt& random, FontEngine& fonts);

} // namespace zb
