#include "render/GroundFill.h"

#include <cstring>

#include "base/ParallelRows.h"

namespace zb {

void FillWhite(RasterView raster) {
    if (raster.empty()) return;
    const size_t rowBytes = size_t(raster.width) * 3;
    ParallelRows(raster.height, int64_t(rowBytes) * raster.height, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) std::memset(raster.row(y), 255, rowBytes);
    });
}

void CopyPixels(RasterView target, RasterView source) {
    if (target.empty() || !source.data || target.width != source.width || target.height != source.height)
        return;
    const size_t rowBytes = size_t(target.width) * 3;
    ParallelRows(target.height, int64_t(rowBytes) * target.height * 2, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) std::memcpy(target.row(y), source.row(y), rowBytes);
    });
}

} // namespace zb
