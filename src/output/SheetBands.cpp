#include "output/SheetBands.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#include "base/Cancellation.h"
#include "render/Compositor.h"

namespace zb {

SheetBands::SheetBands(BandComposer& composer, int rowsPerBand, const SheetProgress& progress, int sheet,
                       int sheets, int layers, int64_t pixels)
    : composer_(composer), rowsPerBand_(std::max(1, rowsPerBand)), progress_(progress), sheet_(sheet),
      sheets_(sheets), layers_(layers), pixels_(std::max<int64_t>(1, pixels)) {}

void SheetBands::Tell(int now) {
    if (!progress_) return;
    const auto call = [&](int count) {
        lastCall_ = std::chrono::steady_clock::now();
        if (!stop_ && !progress_(sheet_, sheets_, count, layers_)) stop_ = true;
    };
    // The same count again when it has not moved for a while (a long layer,
    // or many small bands): the window keeps answering.
    if (now <= told_ && std::chrono::steady_clock::now() - lastCall_ >= std::chrono::milliseconds(100)) call(told_);
    while (told_ < now) call(++told_);
}

bool SheetBands::Report() {
    if (progress_ && !stop_ && !progress_(sheet_, sheets_, told_, layers_)) stop_ = true;
    return !stop_;
}

std::string SheetBands::ComposeBand(int left, int top, int width, int height, RasterView& band) {
    const int64_t bandPixels = int64_t(width) * height;
    // Layers done of this band, as a count of the whole sheet's layers.
    const auto overall = [&](int done) {
        const int64_t total = int64_t(layers_) * pixels_;
        const int64_t sofar = int64_t(layers_) * pixelsDone_ + bandPixels * done;
        return int(std::min<int64_t>(layers_, sofar * layers_ / total));
    };
    const auto compose = [&] { return composer_.ComposeWindowView(left, top, width, height, band); };
    composer_.SetProgress({});
    composer_.SetCancel({});
    std::string result;
    if (lastCall_ == std::chrono::steady_clock::time_point{}) lastCall_ = std::chrono::steady_clock::now();
    if (!progress_) {
        result = compose();
    } else {
        std::atomic<bool> stop{stop_};
        std::atomic<int> done{0};
        std::mutex mutex;
        std::condition_variable changed;
        bool finished = false;
        composer_.SetProgress([&](int d, int) {
            done = d;
            changed.notify_one();
        });
        composer_.SetCancel([&] { return stop.load(); });
        std::exception_ptr failure;
        std::thread worker([&] {
            CancelScope scope(&stop);
            try {
                result = compose();
            } catch (...) {
                failure = std::current_exception();
            }
            std::lock_guard<std::mutex> lock(mutex);
            finished = true;
            changed.notify_one();
        });
        int seen = -1;
        for (;;) {
            bool over;
            {
                std::unique_lock<std::mutex> lock(mutex);
                changed.wait_for(lock, std::chrono::milliseconds(100), [&] { return finished || done != seen; });
                over = finished;
            }
            const int now = done;
            Tell(overall(now));
            seen = now;
            if (stop_) stop = true;
            if (over) break;
        }
        worker.join();
        composer_.SetProgress({});
        composer_.SetCancel({});
        if (failure) std::rethrow_exception(failure);
    }
    pixelsDone_ += bandPixels;
    return stop_ ? std::string(kCompositionCancelled) : result;
}

std::string SheetBands::Compose(PixelRect area, const std::function<std::string(RasterView band, int top)>& take) {
    for (int top = area.y; top < area.y + area.height; top += rowsPerBand_) {
        if (stop_) return kCompositionCancelled;
        const int rows = std::min(rowsPerBand_, area.y + area.height - top);
        RasterView band;
        if (std::string m = ComposeBand(area.x, top, area.width, rows, band); !m.empty()) return m;
        if (std::string m = take(band, top); !m.empty()) return m;
    }
    return stop_ ? std::string(kCompositionCancelled) : std::string();
}

} // namespace zb
