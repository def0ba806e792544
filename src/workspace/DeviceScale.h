#pragma once
// Rasters on high-density screens. A widget measures in logical pixels; the
// screen has `ratio` device pixels to each (1.25, 1.5, 2 ...). Rasters shown on
// screen are composed at device pixels, so that one raster pixel lands on one
// screen pixel and the sheet keeps its physical size: they are composed at
// the logical resolution times the ratio, and the painter draws them with its
// scale undone.
#include "render/DesignSize.h"
#include "render/PageGeometry.h"

namespace zb {

// Screen pixels per inch: the logical resolution times the ratio, rounded.
int DevicePpi(double logicalDpi, double ratio);

// Logical size of a surface that shows a raster of `device` pixels: the
// smallest that covers it.
RasterSize LogicalSize(RasterSize device, double ratio);

// The device pixels a logical rectangle touches (for the part of a raster to
// draw when part of a surface is exposed).
PixelRect DeviceRect(const PixelRect& logical, double ratio);

} // namespace zb
