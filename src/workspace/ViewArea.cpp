#include "workspace/ViewArea.h"

#include <algorithm>
#include <cstdint>

namespace zb {

namespace {

PixelRect Cut(RasterSize sheet, int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    x0 = std::clamp<int64_t>(x0, 0, sheet.width);
    y0 = std::clamp<int64_t>(y0, 0, sheet.height);
    x1 = std::clamp<int64_t>(x1, x0, sheet.width);
    y1 = std::clamp<int64_t>(y1, y0, sheet.height);
    return {int(x0), int(y0), int(x1 - x0), int(y1 - y0)};
}

} // namespace

PixelRect VisiblePart(RasterSize sheet, const PixelRect* visible) {
    if (!visible || sheet.empty()) return {0, 0, sheet.width, sheet.height};
    PixelRect part = Cut(sheet, visible->x, visible->y, int64_t(visible->x) + std::max(visible->width, 0),
                         int64_t(visible->y) + std::max(visible->height, 0));
    if (part.width == 0 || part.height == 0) {
        part.x = std::min(part.x, sheet.width - 1);
        part.y = std::min(part.y, sheet.height - 1);
        part.width = part.height = 1;
    }
    return part;
}

PixelRect AreaAround(RasterSize sheet, const PixelRect& part, int margin) {
    return Cut(sheet, int64_t(part.x) - margin, int64_t(part.y) - margin, int64_t(part.x) + part.width + margin,
               int64_t(part.y) + part.height + margin);
}

bool Contains(const PixelRect& outer, const PixelRect& inner) {
    return inner.x >= outer.x && inner.y >= outer.y &&
           int64_t(inner.x) + inner.width <= int64_t(outer.x) + outer.width &&
           int64_t(inner.y) + inner.height <= int64_t(outer.y) + outer.height;
}

} // namespace zb
