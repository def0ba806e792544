#pragma once
// A filter over a seamless tile: the tile is one of the copies that cover the
// plane (TileWrap), so the filter reads across an edge into the neighbouring
// copy instead of repeating the edge pixels. Sharpening and blurring then
// leave no line along the edges where the tiles meet.
#include "base/RasterView.h"
#include "base/TileWrap.h"
#include "imaging/FilterTable.h"

namespace zb {

// Filters `raster` in place as ApplyScaledFilter at scale k (1: the plain
// filter) would filter the plane of its copies. Without a wrap it is
// ApplyScaledFilter itself. Works on a copy of the raster with a border of
// the neighbouring copies' pixels; returns false, with the raster unchanged,
// when that copy finds no memory.
bool ApplyWrappedFilter(RasterView raster, const FilterEntry& filter, const TileWrap& wrap, int k = 1);

} // namespace zb
