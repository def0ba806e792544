#include "render/DesignViewPaint.h"

namespace zb {

DesignPaintResult PaintDesignView(Compositor& compositor, RasterSize viewSize, RasterSize designSize,
                                  const Design& design, double screenPpi, double zoomPercent, RandomInt& random,
                                  FontEngine* fonts, const ComposeStart* start) {
    DesignPaintResult result;
    result.resizeView = !(viewSize == designSize);
    if (designSize.empty()) {
        // Nothing to compose or draw; the rasters are released.
        compositor.EnsureSize(designSize);
        return result;
    }
    // A size that already failed is not tried again on every paint (that would
    // show the same message box over and over); the next change of size does.
    if (!(compositor.Size() == designSize) && !(compositor.FailedSize() == designSize)) {
        result.message = compositor.EnsureSize(designSize);
    }
    if (result.resizeView) return result;
    if (!(compositor.Size() == designSize)) {
        // The rasters could not take the new size: the previous composition
        // stays in place and is shown as it is.
        result.draw = compositor.HoldsComposition();
        return result;
    }
    if (!compositor.DesignValid()) {
        // A cancelled composition leaves nothing to draw and nothing to say.
        result.message = (start ? compositor.ComposeAbove(design, start->first, start->below, start->sheetStart,
                                                          screenPpi, zoomPercent, random, fonts, start->window)
                                : compositor.Compose(design, screenPpi, zoomPercent, random, fonts))
                             .message;
    }
    result.draw = compositor.DesignValid();
    return result;
}

} // namespace zb
