#pragma once
// Composes one sheet for printing or export, piece by piece and band by band,
// on the calling thread (a background job's), telling the progress callback
// as layers finish. A stop of the job's token ends the composition at its
// next row band, not only between layers.
//
// Each band is handed to the caller as it is done (drawing on a printer or
// writing a file). A sheet small enough to compose whole comes as a single band.
//
// Ownership: borrows the composer and the callback for its lifetime.
#include <cstdint>
#include <functional>
#include <stop_token>

#include "base/JobResult.h"
#include "base/RasterView.h"
#include "output/DesignPrinting.h"
#include "render/BandComposer.h"
#include "render/PageGeometry.h"

namespace zb {

class SheetBands {
public:
    // `rowsPerBand` is the band height (the sheet's height for one band);
    // `pixels` is the number of sheet pixels all Compose calls of this sheet
    // together compose, so the progress runs once from 0 to `layers`.
    SheetBands(BandComposer& composer, int rowsPerBand, const SheetProgress& progress, std::stop_token stop,
               int sheet, int sheets, int layers, int64_t pixels);

    // Composes the rectangle of the sheet band by band and hands each band to
    // `take` with the sheet row of its first row. Returns the first failure:
    // the composer's (Cancelled after a stop) or take's.
    JobResult Compose(PixelRect area, const std::function<JobResult(RasterView band, int top)>& take);

    // Asks the token again, e.g. after a page was sent: false after a stop.
    bool Going() const { return !stop_.stop_requested(); }

private:
    BandComposer& composer_;
    int rowsPerBand_;
    const SheetProgress& progress_;
    std::stop_token stop_;
    int sheet_;
    int sheets_;
    int layers_;
    int64_t pixels_;
    int64_t pixelsDone_ = 0;
    int told_ = 0;
};

} // namespace zb
