#include "output/SheetBands.h"

#include <algorithm>

namespace zb {

SheetBands::SheetBands(BandComposer& composer, int rowsPerBand, const SheetProgress& progress,
                       std::stop_token stop, int sheet, int sheets, int layers, int64_t pixels)
    : composer_(composer), rowsPerBand_(std::max(1, rowsPerBand)), progress_(progress), stop_(std::move(stop)),
      sheet_(sheet), sheets_(sheets), layers_(layers), pixels_(std::max<int64_t>(1, pixels)) {
    composer_.SetStop(stop_);
}

JobResult SheetBands::Compose(PixelRect area, const std::function<JobResult(RasterView band, int top)>& take) {
    for (int top = area.y; top < area.y + area.height; top += rowsPerBand_) {
        if (stop_.stop_requested()) return JobResult::Cancelled();
        const int rows = std::min(rowsPerBand_, area.y + area.height - top);
        const int64_t bandPixels = int64_t(area.width) * rows;
        // Layers done of this band, told as a count of the whole sheet's layers.
        composer_.SetProgress([&](int done, int) {
            const int64_t total = int64_t(layers_) * pixels_;
            const int64_t sofar = int64_t(layers_) * pixelsDone_ + bandPixels * done;
            const int now = int(std::min<int64_t>(layers_, sofar * layers_ / total));
            while (progress_ && told_ < now) progress_(sheet_, sheets_, ++told_, layers_);
        });
        RasterView band;
        JobResult composed = composer_.ComposeWindowView(area.x, top, area.width, rows, band);
        composer_.SetProgress({});
        if (!composed.ok()) return composed;
        pixelsDone_ += bandPixels;
        if (JobResult taken = take(band, top); !taken.ok()) return taken;
    }
    return stop_.stop_requested() ? JobResult::Cancelled() : JobResult::Done();
}

} // namespace zb
