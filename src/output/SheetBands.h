#pragma once
// Composes one sheet for printing or export, piece by piece and band by band,
// on a thread of its own while the calling thread keeps the progress callback
// going: as layers finish, and every 100 ms while a layer takes long, so a
// window showing the progress keeps answering. A stop from the callback
// cancels the composition at its next row band, not only between layers.
//
// Each band is handed to the caller on the calling thread (drawing on a
// printer or writing a file stays there). A sheet small enough to compose
// whole comes as a single band.
//
// Ownership: borrows the composer and the callback for its lifetime.
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

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
    SheetBands(BandComposer& composer, int rowsPerBand, const SheetProgress& progress, int sheet, int sheets,
               int layers, int64_t pixels);

    // Composes the rectangle of the sheet band by band and hands each band to
    // `take` with the sheet row of its first row. Returns the first failure:
    // the composer's (kCompositionCancelled after a stop) or take's.
    std::string Compose(PixelRect area, const std::function<std::string(RasterView band, int top)>& take);

    // Asks the callback once more with the count so far, e.g. after a page
    // was sent; false when it said stop.
    bool Report();

private:
    std::string ComposeBand(int left, int top, int width, int height, RasterView& band);
    // Tells the callback every count from the last one told up to `now`,
    // or the same count again after 100 ms without a call; sets stop_ on "stop".
    void Tell(int now);

    BandComposer& composer_;
    int rowsPerBand_;
    const SheetProgress& progress_;
    int sheet_;
    int sheets_;
    int layers_;
    int64_t pixels_;
    int64_t pixelsDone_ = 0;
    int told_ = 0;
    std::chrono::steady_clock::time_point lastCall_{};
    bool stop_ = false;
};

} // namespace zb
