#pragma once
// Drawing a 24-bit raster on a painter (a printer or a PDF) in bands of rows,
// so that at most one band is copied at a time. Each band is converted here,
// with the allocation checked, into the 32-bit form the PDF engine stores
// without converting it once more: a conversion inside the engine that runs
// out of memory would drop the picture without a word.
#include <QImage>
#include <QRect>

#include "base/RasterView.h"

class QPainter;

namespace zb {

// Rows [y0, y1) of the raster as a picture of `format` (Format_RGB32 or
// Format_RGB888), a copy that owns its pixels. Null when memory runs short.
QImage RasterRows(RasterView raster, int y0, int y1, QImage::Format format);

// Rows handed to the paint engine at once: a band of an A4 sheet at 600 dpi
// is about 10 MB instead of the whole 104 MB raster.
inline constexpr int kRasterBandRows = 512;

// Draws the whole raster scaled to `target`; bands wholly below `clipHeight`
// (the printable area's height, in the painter's units) are left out. The
// raster is borrowed for the call. False when a band could not be copied or
// compressed for lack of memory (the page then holds the bands before it).
bool PaintRasterBands(QPainter& painter, RasterView raster, QRect target, int clipHeight);

// Ends a painter whose paint engine ran out of memory (it threw
// std::bad_alloc): the engine is marked as done first, so that neither this
// nor the painter's destructor lets it write on, which would throw again
// where nothing can catch it and abort the program. What the engine wrote so
// far is incomplete; the caller discards it.
void AbandonPainting(QPainter& painter);

// Ends the painter. False when the engine failed, could not compress what it
// wrote last, or ran out of memory (the painter is then abandoned).
bool EndPainting(QPainter& painter);

} // namespace zb
