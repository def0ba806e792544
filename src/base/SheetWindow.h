#pragma once
// Which part of a sheet a raster holds, so a large sheet can be composed a
// piece at a time: the raster's pixel (0, 0) is sheet pixel (left, top) of a
// sheet sheetWidth x sheetHeight pixels. Generators place everything by sheet
// coordinates (random positions are drawn over the whole sheet) and write
// only what falls into the raster. The default window (sizes 0) stands for a
// raster that is the whole sheet.
#include "base/RasterView.h"

namespace zb {

struct SheetWindow {
    int left = 0;
    int top = 0;
    int sheetWidth = 0;
    int sheetHeight = 0;

    bool Whole() const { return sheetWidth <= 0 || sheetHeight <= 0; }
    // The sheet's size for a raster `view` seen through this window.
    int Width(const RasterView& view) const { return Whole() ? view.width : sheetWidth; }
    int Height(const RasterView& view) const { return Whole() ? view.height : sheetHeight; }
    int Left() const { return Whole() ? 0 : left; }
    int Top() const { return Whole() ? 0 : top; }
};

} // namespace zb
