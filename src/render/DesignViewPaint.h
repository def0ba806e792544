#pragma once
// What one paint of the design view does, apart from the drawing itself, so the
// window (and the print preview, which paints it first) only carry out the
// answer.
//
// Two passes after a size change: the pass that finds the view at the wrong
// size re-sizes the rasters, asks for the view to be re-sized and composes
// nothing; the re-sized view paints again, and that pass composes and draws. A
// caller that needs the composition at once calls again while the compositor's
// DesignValid() is still false.
#include <string>

#include "model/Design.h"
#include "render/Compositor.h"
#include "render/DesignSize.h"
#include "render/FontEngine.h"
#include "render/RandomInt.h"

namespace zb {

struct DesignPaintResult {
    // The view must be given the design size; it will be painted again.
    bool resizeView = false;
    // Draw the compositor's DesignRaster at (0, 0), one pixel per pixel, at
    // the raster's own size (after a failed resize that is the previous one).
    bool draw = false;
    // A failure to show the user, in German; empty when there is none. An
    // allocation failure is reported once per requested size, not on every
    // paint.
    std::string message;
};

// Where a composition goes on from (Compositor::ComposeAbove): the layers
// beneath `first` are composed already, in `below`.
struct ComposeStart {
    int first = 0;
    RasterView below;
    uint32_t sheetStart = 0; // the generator state the sheet started from
    SheetWindow window;      // the part of the sheet the compositor holds (whole by default)
};

// viewSize: the design view's current size; designSize: DesignRasterSize of
// the paper format at the view's pixels per inch and zoom. Composes (from
// `random`) when the compositor's DesignValid() is false and the view already
// has the right size: the whole stack, or with `start` the layers from
// start->first up.
DesignPaintResult PaintDesignView(Compositor& compositor, RasterSize viewSize, RasterSize designSize,
                                  const Design& design, double screenPpi, double zoomPercent, RandomInt& random,
                                  FontEngine* fonts, const ComposeStart* start = nullptr);

} // namespace zb
