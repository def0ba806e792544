#pragma once
// Which part of the sheet the design view composes: what is visible, with a
// margin for scrolling, so the cost of an edit follows the size of the view,
// not the zoom or the sheet. Rectangles are in device pixels of the sheet.
#include "render/DesignSize.h"
#include "render/PageGeometry.h"

namespace zb {

// Pixels composed beyond each visible edge, so a short scroll shows pixels
// at once. Small, since they cost with every edit.
inline constexpr int kViewAreaMargin = 64;

// The visible rectangle cut to the sheet; the whole sheet when `visible` is
// null (the print preview, the command line, the repeat shown 3 x 3). A
// visible rectangle outside the sheet gives its nearest corner pixel, so
// something is always composed.
PixelRect VisiblePart(RasterSize sheet, const PixelRect* visible);

// `part` with `margin` pixels around it, cut at the sheet's edges.
PixelRect AreaAround(RasterSize sheet, const PixelRect& part, int margin);

// Every pixel of `inner` lies in `outer`.
bool Contains(const PixelRect& outer, const PixelRect& inner);

} // namespace zb
