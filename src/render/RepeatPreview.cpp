#include "render/RepeatPreview.h"

#include <algorithm>
#include <cstring>

#include "base/TileWrap.h"

namespace zb {

void RepeatSource(RepeatMode mode, int width, int height, int64_t x, int64_t y, int& tx, int& ty) {
    const TileWrap wrap{width, height, mode == kRepeatHalfDrop ? height / 2 : 0, mode == kRepeatMirror};
    wrap.Map(x, y, tx, ty);
}

void DrawRepeat(RasterView out, RasterView tile, RepeatMode mode, int originX, int originY) {
    if (out.empty() || tile.empty()) return;
    for (int y = 0; y < out.height; ++y) {
        uint8_t* row = out.row(y);
        for (int x = 0; x < out.width;) {
            int tx, ty;
            RepeatSource(mode, tile.width, tile.height, int64_t(x) - originX, int64_t(y) - originY, tx, ty);
            // Straight runs of the tile's row are copied whole; a mirrored
            // column runs backwards.
            const bool backwards = mode == kRepeatMirror &&
                                   TileWrap::FloorDiv(int64_t(x) - originX, tile.width) % 2 != 0;
            if (backwards) {
                std::memcpy(row + ptrdiff_t(x) * 3, tile.pixel(tx, ty), 3);
                ++x;
                continue;
            }
            const int run = std::min(out.width - x, tile.width - tx);
            std::memcpy(row + ptrdiff_t(x) * 3, tile.pixel(tx, ty), size_t(run) * 3);
            x += run;
        }
    }
}

bool MakeRepeatPreview(const TDibRecord& tile, RepeatMode mode, DibPicture& preview) {
    return MakeRepeatPreview(ViewOf(tile), mode, preview);
}

bool MakeRepeatPreview(RasterView source, RepeatMode mode, DibPicture& preview) {
    preview.reset();
    if (source.empty() || source.width > (1 << 29) / 3 || source.height > (1 << 29) / 3) return false;
    preview = DibPicture(3 * source.width, 3 * source.height, 24);
    if (preview.empty()) return false;
    DrawRepeat(ViewOf(preview), source, mode, source.width, source.height);
    return true;
}

} // namespace zb
