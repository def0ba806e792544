#pragma once
// Texture and picture layers: the layer's picture repeated over the raster at a
// chosen physical width, keeping its aspect ratio, sampled nearest-neighbour.
#include <cstdint>

#include "base/RasterView.h"
#include "base/SheetWindow.h"

namespace zb {

struct TileSize {
    int64_t width = 1;
    int64_t height = 1;
    friend bool operator==(const TileSize&, const TileSize&) = default;
};

// tileW = Trunc(z * (widthMM / 25.39995 * ppi) / 100), tileH = (picH * tileW)
// div picW, each raised to 1. A width that is not a finite number counts as 1;
// one beyond the int range is held there (a single tile larger than any raster).
TileSize TextureTileSize(int pictureWidth, int pictureHeight, double pictureWidthMM, double targetPpi,
                         double zoomPercent);

// Tiles start at the sheet's top-left corner. Sheet pixel (x, y) takes picture pixel
// (sx, sy), counted from the picture's top-left, with
//   sx = ((picW - 1) * (x mod tileW)) div tileW,
//   sy = ((picH - 1) * (y mod tileH)) div tileH,
// so the picture's last column and row are sampled only when it is one pixel
// wide or high. `picture` is a top-down view (ViewOf a DIB record); both views
// are 24-bit. Writes only pixel bytes. Does nothing for an empty picture.
// The raster is the window's part of the sheet.
void TileTexture(RasterView raster, RasterView picture, TileSize tile, const SheetWindow& window = {});

// The same pixel by pixel; the yardstick for TileTexture.
void TileTextureReference(RasterView raster, RasterView picture, TileSize tile, const SheetWindow& window = {});

} // namespace zb
