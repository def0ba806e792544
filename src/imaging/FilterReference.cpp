#include "imaging/FilterReference.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace zb {

bool ApplyFilterReference(RasterView raster, const FilterEntry& filter) {
    if (raster.empty()) return true;
    const int64_t w = raster.width, h = raster.height;
    const int64_t cw = w + 4, ch = h + 4;
    const int64_t cstride = cw * 3;
    if (cstride > INT64_MAX / ch) return false;
    std::unique_ptr<uint8_t[]> copy(new (std::nothrow) uint8_t[size_t(cstride * ch)]);
    if (!copy) return false;
    auto cpix = [&](int64_t x, int64_t y) { return copy.get() + y * cstride + x * 3; };

    // Raster pixel (x, y) becomes copy pixel (x + 2, y + 2).
    for (int64_t y = 0; y < h; ++y) std::memcpy(cpix(2, y + 2), raster.row(int(y)), size_t(w * 3));
    // Rows first: two above repeat the top row, two below the bottom row.
    for (int64_t k = 0; k < 2; ++k) {
        std::memcpy(cpix(2, k), cpix(2, 2), size_t(w * 3));
        std::memcpy(cpix(2, h + 2 + k), cpix(2, h + 1), size_t(w * 3));
    }
    // Then columns in every row of the copy, corners included.
    for (int64_t y = 0; y < ch; ++y) {
        for (int64_t k = 0; k < 2; ++k) {
            std::memcpy(cpix(k, y), cpix(2, y), 3);
            std::memcpy(cpix(w + 2 + k, y), cpix(w + 1, y), 3);
        }
    }

    const int64_t divisor = filter.Divisor == 0 ? 1 : filter.Divisor;
    for (int64_t y = 0; y < h; ++y) {
        uint8_t* out = raster.row(int(y));
        for (int64_t x = 0; x < w; ++x) {
            for (int c = 0; c < 3; ++c) {
                uint32_t sum = 0; // 32-bit, wrapping like the original integer arithmetic
                for (int a = 0; a < 5; ++a)
                    for (int b = 0; b < 5; ++b)
                        sum += uint32_t(filter.Weights[5 * a + b]) * cpix(x + a, y + b)[c];
                const int64_t v = int64_t(int32_t(sum)) / divisor + filter.Bias;
                out[x * 3 + c] = uint8_t(std::clamp<int64_t>(v, 0, 255));
            }
        }
    }
    return true;
}

} // namespace zb
