#pragma once
// Composes one sheet for printing or export, piece by piece and band by band,
// telling the progress callback as layers finish. A stop of the job's token
// ends the composition at its next row band, not only between layers.
//
// Each band is handed to the caller as it is done (drawing on a printer or
// writing a file). A sheet small enough to compose whole comes as a single
// band, composed on the calling thread. A sheet of several bands is composed
// on the thread pool one band ahead: while the caller writes band n (a copy
// of it), band n + 1 is composed, so composing and encoding overlap. The
// progress callback and `take` are only ever called on the calling thread.
//
// Ownership: borrows the composer and the callback for its lifetime; owns
// the copy of the band being handed over. No composition outlives a Compose call.
#include <cstdint>
#include <functional>
#include <memory>
#include <stop_token>
#include <vector>

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
    ~SheetBands();
    SheetBands(const SheetBands&) = delete;
    SheetBands& operator=(const SheetBands&) = delete;

    // Composes the rectangle of the sheet band by band and hands each band to
    // `take` with the sheet row of its first row. Returns the first failure:
    // the composer's (Cancelled after a stop) or take's.
    JobResult Compose(PixelRect area, const std::function<JobResult(RasterView band, int top)>& take);

    // Asks the token again, e.g. after a page was sent: false after a stop.
    bool Going() const { return !stop_.stop_requested(); }

private:
    struct Flight;
    using StopForward = std::function<void()>;

    // Starts composing the band on the pool.
    std::shared_ptr<Flight> Launch(PixelRect band);
    // Composes the band on the thread that claimed it.
    void Run(Flight& flight);
    // Stops the band in flight, if any, and waits for it.
    void Abandon(std::shared_ptr<Flight>& flight);
    // Waits for the band, telling the progress meanwhile; its result.
    JobResult Land(Flight& flight);
    // Tells the callback every layer count up to the one reached with
    // `done` layers of a band of `bandPixels` after the bands finished so far.
    void Tell(int64_t bandPixels, int done);

    BandComposer& composer_;
    int rowsPerBand_;
    const SheetProgress& progress_;
    std::stop_token stop_;
    // Stops the composition on the pool when the job stops or `take` failed.
    std::stop_source halt_;
    std::unique_ptr<std::stop_callback<StopForward>> forward_;
    int sheet_;
    int sheets_;
    int layers_;
    int64_t pixels_;
    int64_t pixelsDone_ = 0;
    int told_ = 0;
    std::vector<uint8_t> copy_; // the band handed to `take` while the next one is composed
};

} // namespace zb
