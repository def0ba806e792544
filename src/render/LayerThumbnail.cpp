#include "render/LayerThumbnail.h"

#include <algorithm>

namespace zb {

LayerThumbnail LayerThumbnail::Of(RasterView raster, int maxWidth, int maxHeight) {
    LayerThumbnail t;
    if (raster.empty() || maxWidth <= 0 || maxHeight <= 0) return t;
    // The side that fills its limit first decides the scale.
    if (int64_t(raster.width) * maxHeight >= int64_t(raster.height) * maxWidth) {
        t.width = std::min(maxWidth, raster.width);
        t.height = std::max(1, int(int64_t(raster.height) * t.width / raster.width));
    } else {
        t.height = std::min(maxHeight, raster.height);
        t.width = std::max(1, int(int64_t(raster.width) * t.height / raster.height));
    }
    t.rgb.resize(size_t(t.width) * size_t(t.height) * 3);
    uint8_t* out = t.rgb.data();
    for (int y = 0; y < t.height; ++y) {
        const int sy = int((int64_t(y) * 2 + 1) * raster.height / (int64_t(t.height) * 2));
        for (int x = 0; x < t.width; ++x, out += 3) {
            const int sx = int((int64_t(x) * 2 + 1) * raster.width / (int64_t(t.width) * 2));
            const uint8_t* p = raster.pixel(sx, sy); // blue, green, red
            out[0] = p[2];
            out[1] = p[1];
            out[2] = p[0];
        }
    }
    return t;
}

} // namespace zb
