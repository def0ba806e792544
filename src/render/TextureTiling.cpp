#include "render/TextureTiling.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "render/DesignSize.h"
#include "base/ParallelRows.h"
#include "render/RowFill.h"

namespace zb {

TileSize TextureTileSize(int pictureWidth, int pictureHeight, double pictureWidthMM, double targetPpi,
                         double zoomPercent) {
    const double exact = zoomPercent * (pictureWidthMM / kMillimetresPerInch * targetPpi) / 100.0;
    int64_t tileW = 1;
    if (exact >= double(std::numeric_limits<int32_t>::max())) tileW = std::numeric_limits<int32_t>::max();
    else if (exact >= 1.0) tileW = int64_t(std::trunc(exact));
    int64_t tileH = pictureWidth > 0 ? int64_t(pictureHeight) * tileW / pictureWidth : 0;
    return {tileW, std::max<int64_t>(tileH, 1)};
}

namespace {

bool Usable(const RasterView& raster, const RasterView& picture, TileSize tile) {
    return !raster.empty() && !picture.empty() && tile.width >= 1 && tile.height >= 1;
}

int64_t SourceRow(const RasterView& picture, TileSize tile, int64_t y) {
    return (int64_t(picture.height) - 1) * (y % tile.height) / tile.height;
}

} // namespace

void TileTextureReference(RasterView raster, RasterView picture, TileSize tile, const SheetWindow& window) {
    if (!Usable(raster, picture, tile)) return;
    const int64_t left = window.Left(), top = window.Top();
    for (int y = 0; y < raster.height; ++y) {
        const int64_t sy = SourceRow(picture, tile, top + y);
        for (int x = 0; x < raster.width; ++x) {
            const int64_t sx = (int64_t(picture.width) - 1) * ((left + x) % tile.width) / tile.width;
            std::memcpy(raster.pixel(x, y), picture.pixel(int(sx), int(sy)), 3);
        }
    }
}

void TileTexture(RasterView raster, RasterView picture, TileSize tile, const SheetWindow& window) {
    if (!Usable(raster, picture, tile)) return;
    const int w = raster.width, h = raster.height;
    const int64_t left = window.Left(), top = window.Top();
    const size_t rowBytes = size_t(w) * 3;

    // Byte offsets of the source pixels of one tile's columns from the
    // raster's first column on; the row repeats with the tile, so one tile
    // (or the whole row, if narrower) is enough.
    const int span = int(std::min<int64_t>(tile.width, w));
    std::vector<size_t> columns(static_cast<size_t>(span));
    for (int x = 0; x < span; ++x)
        columns[size_t(x)] = size_t(3 * ((int64_t(picture.width) - 1) * ((left + x) % tile.width) / tile.width));
    // Reading four bytes per pixel is safe when no sampled pixel is the last
    // one of its row, i.e. for pictures at least two pixels wide.
    const bool wideLoads = picture.width >= 2;

    auto buildRow = [&](uint8_t* row, const uint8_t* src) {
        int x = 0;
        if (wideLoads) {
            // Each four-byte store spills one byte into the next pixel, which
            // that pixel's store then overwrites; the last pixel is written
            // with three bytes so nothing lands beyond the row.
            for (; x + 1 < span; ++x) {
                uint32_t v;
                std::memcpy(&v, src + columns[size_t(x)], 4);
                std::memcpy(row + 3 * x, &v, 4);
            }
        }
        for (; x < span; ++x) std::memcpy(row + 3 * x, src + columns[size_t(x)], 3);
        rowfill::RepeatPrefix(row, size_t(span) * 3, rowBytes);
    };

    ParallelRows(h, int64_t(rowBytes) * h, [&](int y0, int y1) {
        int64_t previousSy = -1;
        for (int y = y0; y < y1; ++y) {
            uint8_t* row = raster.row(y);
            const int64_t sy = SourceRow(picture, tile, top + y);
            if (int64_t(y) - tile.height >= y0) {
                // The same row of the tile above, written by this band.
                std::memcpy(row, raster.row(int(y - tile.height)), rowBytes);
            } else if (sy == previousSy) {
                std::memcpy(row, raster.row(y - 1), rowBytes);
            } else {
                buildRow(row, picture.row(int(sy)));
            }
            previousSy = sy;
        }
    });
}

} // namespace zb
