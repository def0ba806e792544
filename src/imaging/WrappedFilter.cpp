#include "imaging/WrappedFilter.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "imaging/ScaledFilter.h"

namespace zb {

bool ApplyWrappedFilter(RasterView raster, const FilterEntry& filter, const TileWrap& wrap, int k) {
    k = std::clamp(k, 1, kMaxFilterScale);
    if (!wrap.On()) return ApplyScaledFilter(raster, filter, k);
    if (raster.empty()) return true;

    // How far the taps reach: two pixels, or at scale k two steps of k plus
    // half the k x k average.
    const int border = k == 1 ? 2 : 3 * k;
    const int64_t width = int64_t(raster.width) + 2 * border;
    const int64_t height = int64_t(raster.height) + 2 * border;
    const int64_t stride = width * 3;
    std::unique_ptr<uint8_t[]> bordered(new (std::nothrow) uint8_t[size_t(stride * height)]);
    if (!bordered) return false;

    // Row y of the bordered copy holds plane row y - border from column -border on.
    for (int64_t y = 0; y < height; ++y) {
        uint8_t* out = bordered.get() + y * stride;
        const int64_t planeY = y - border;
        int tx = 0, ty = 0;
        wrap.Map(0, planeY, tx, ty);
        std::memcpy(out + int64_t(border) * 3, raster.row(ty), size_t(raster.width) * 3);
        for (int64_t x = 0; x < border; ++x) {
            wrap.Map(x - border, planeY, tx, ty);
            std::memcpy(out + x * 3, raster.pixel(tx, ty), 3);
            wrap.Map(raster.width + x, planeY, tx, ty);
            std::memcpy(out + (border + raster.width + x) * 3, raster.pixel(tx, ty), 3);
        }
    }
    const RasterView view{bordered.get(), stride, int(width), int(height)};
    if (!ApplyScaledFilter(view, filter, k)) return false;
    for (int y = 0; y < raster.height; ++y)
        std::memcpy(raster.row(y), view.pixel(border, y + border), size_t(raster.width) * 3);
    return true;
}

} // namespace zb
