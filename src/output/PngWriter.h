#pragma once
// A PNG writer for large sheets: the rows are deflated in pieces on all cores
// (each piece ends on a byte boundary, so the pieces join into one zlib
// stream) and written as they are, straight from the raster, without a copy
// of the whole picture. 24-bit RGB, every row with the "Up" filter, zlib
// level 1, the resolution recorded in a pHYs chunk.
#include <QIODevice>

#include "base/RasterView.h"

namespace zb {

// Writes the raster as a PNG into `device`. dpi > 0 records the resolution.
// False when memory ran out or the device refused a write.
bool WritePng(RasterView raster, QIODevice& device, double dpi);

} // namespace zb
