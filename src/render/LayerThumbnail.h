#pragma once
// A small picture of what one layer adds to the sheet, taken from its raster
// while the sheet is composed (no composition of its own): the layer list
// shows it beside the layer's name.
#include <cstdint>
#include <vector>

#include "base/RasterView.h"

namespace zb {

struct LayerThumbnail {
    int width = 0;
    int height = 0;
    // Top-down rows of red, green, blue, no padding.
    std::vector<uint8_t> rgb;

    bool empty() const { return width <= 0 || height <= 0; }

    // The raster scaled to fit into maxWidth x maxHeight, its sides in
    // proportion, each pixel the raster's pixel nearest to its centre.
    static LayerThumbnail Of(RasterView raster, int maxWidth, int maxHeight);
};

} // namespace zb
