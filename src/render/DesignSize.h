#pragma once
// The pixel size of the design raster, from the paper format, the printer's
// printable page, the target's pixels per inch and the zoom. Plain functions
// so the window, the print preview, printing and the command-line program all
// size the sheet the same way.
#include <cstdint>

#include "model/Design.h"

namespace zb {

struct RasterSize {
    int width = 0;
    int height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
    friend bool operator==(const RasterSize&, const RasterSize&) = default;
};

// The printer's printable area in printer pixels and its horizontal pixels per
// inch. A page with ppi <= 0 means "no printer". Some printers resolve the two
// axes differently (600 x 1200 dpi); ppiY <= 0 means "the same as ppi".
struct PrintablePage {
    int32_t width = 0;
    int32_t height = 0;
    int32_t ppi = 0;
    int32_t ppiY = 0;
};

// The vertical pixels per inch of the page.
inline int32_t VerticalPpi(const PrintablePage& page) { return page.ppiY > 0 ? page.ppiY : page.ppi; }

// Millimetres per inch used by every length conversion of the compositor and
// the layer generators (deliberately not 25.4: designs are sized with it).
inline constexpr double kMillimetresPerInch = 25.39995;

// Whole printable page: Trunc((PW * s) / p * z / 100), the product PW * s in
// integers, the rest in floating point; the height divides by the printer's
// vertical pixels per inch, so a 600 x 1200 dpi page keeps its shape. Part of
// the page: Trunc(Breit * 10 / 25.39995 * s * z / 100), evaluated left to
// right. The target (screen, export, print raster) has square pixels of
// targetPpi. Truncation is toward zero.
//
// A result that is not a positive finite number (no printer, zero resolution,
// negative values from a foreign file) gives 0 for that axis: nothing is drawn.
// A result beyond the int range is held at INT32_MAX so that allocating it
// fails with a message instead of wrapping around.
RasterSize DesignRasterSize(const PaperSettings& paper, const PrintablePage& page, int32_t targetPpi,
                            double zoomPercent);

} // namespace zb
