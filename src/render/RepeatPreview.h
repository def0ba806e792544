#pragma once
// The repeat of a seamless tile as fabric, wallpaper or a web page lays it:
// a preview of 3 x 3 tiles with the tile in the middle, and the rule that
// says which tile pixel shows at a place of the plane.
#include "base/DibPicture.h"
#include "base/RasterView.h"
#include "model/RepeatMode.h"

namespace zb {

// The tile pixel (tx, ty) that the repeat shows at plane pixel (x, y), the
// tile lying at 0 .. width - 1, 0 .. height - 1: straight; half-drop (each
// column of tiles half a tile, height div 2, lower than the one to its left);
// mirrored (every other column mirrored left to right, every other row top
// to bottom, so each edge meets its own mirror image).
void RepeatSource(RepeatMode mode, int width, int height, int64_t x, int64_t y, int& tx, int& ty);

// Fills `out` (any size) with the plane around the tile, the tile's top-left
// corner at (originX, originY) of `out`.
void DrawRepeat(RasterView out, RasterView tile, RepeatMode mode, int originX, int originY);

// A new 24-bit picture of 3 x 3 tiles, the tile in the middle. Returns false,
// with `preview` empty, when the memory does not suffice. Whatever `preview`
// held before is freed.
bool MakeRepeatPreview(RasterView tile, RepeatMode mode, DibPicture& preview);
bool MakeRepeatPreview(const TDibRecord& tile, RepeatMode mode, DibPicture& preview);

} // namespace zb
