#include "output/SheetBands.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <new>
#include <thread>

#include "base/ThreadPool.h"
#include "render/Compositor.h"

namespace zb {

// One band being composed on the pool.
struct SheetBands::Flight {
    PixelRect band;
    std::atomic<bool> claimed{false}; // a thread took it on
    std::atomic<int> done{0};         // its layers done so far
    std::mutex mutex;
    std::condition_variable changed;
    bool finished = false;
    JobResult result;
    RasterView view;
};

SheetBands::SheetBands(BandComposer& composer, int rowsPerBand, const SheetProgress& progress,
                       std::stop_token stop, int sheet, int sheets, int layers, int64_t pixels)
    : composer_(composer), rowsPerBand_(std::max(1, rowsPerBand)), progress_(progress), stop_(std::move(stop)),
      sheet_(sheet), sheets_(sheets), layers_(layers), pixels_(std::max<int64_t>(1, pixels)) {
    forward_ = std::make_unique<std::stop_callback<StopForward>>(stop_, [this] { halt_.request_stop(); });
    composer_.SetStop(halt_.get_token());
}

SheetBands::~SheetBands() {
    forward_.reset();
    composer_.SetStop(stop_);
}

void SheetBands::Tell(int64_t bandPixels, int done) {
    const int64_t total = int64_t(layers_) * pixels_;
    const int64_t sofar = int64_t(layers_) * pixelsDone_ + bandPixels * done;
    const int now = int(std::min<int64_t>(layers_, sofar * layers_ / total));
    while (progress_ && told_ < now) progress_(sheet_, sheets_, ++told_, layers_);
}

std::shared_ptr<SheetBands::Flight> SheetBands::Launch(PixelRect band) {
    auto flight = std::make_shared<Flight>();
    flight->band = band;
    Flight* raw = flight.get();
    composer_.SetProgress([raw](int done, int) {
        raw->done = done;
        raw->changed.notify_one();
    });
    // Whoever comes first composes it: a worker, or the caller once it waits
    // (a pool busy with other work never holds the sheet up).
    ThreadPool::Shared().Post([this, flight] {
        if (!flight->claimed.exchange(true)) Run(*flight);
    });
    return flight;
}

void SheetBands::Abandon(std::shared_ptr<Flight>& flight) {
    if (!flight) return;
    halt_.request_stop();
    Land(*flight);
    flight.reset();
}

void SheetBands::Run(Flight& flight) {
    JobResult result;
    RasterView view;
    try {
        result = composer_.ComposeWindowView(flight.band.x, flight.band.y, flight.band.width, flight.band.height,
                                             view);
    } catch (const std::bad_alloc&) {
        result = JobResult::OutOfMemory(DesignMemoryMessage({flight.band.width, flight.band.height}));
    }
    std::lock_guard<std::mutex> lock(flight.mutex);
    flight.result = std::move(result);
    flight.view = view;
    flight.finished = true;
    flight.changed.notify_one();
}

JobResult SheetBands::Land(Flight& flight) {
    const int64_t bandPixels = int64_t(flight.band.width) * flight.band.height;
    if (!flight.claimed.exchange(true)) Run(flight); // no worker took it yet: compose it here
    int seen = -1;
    for (;;) {
        bool over;
        {
            std::unique_lock<std::mutex> lock(flight.mutex);
            flight.changed.wait_for(lock, std::chrono::milliseconds(100),
                                    [&] { return flight.finished || flight.done != seen; });
            over = flight.finished;
        }
        seen = flight.done;
        Tell(bandPixels, seen);
        if (over) break;
    }
    composer_.SetProgress({});
    if (flight.result.ok()) pixelsDone_ += bandPixels;
    return flight.result;
}

JobResult SheetBands::Compose(PixelRect area, const std::function<JobResult(RasterView band, int top)>& take) {
    if (stop_.stop_requested()) return JobResult::Cancelled();
    const auto bandAt = [&](int top) {
        return PixelRect{area.x, top, area.width, std::min(rowsPerBand_, area.y + area.height - top)};
    };
    if (area.height <= rowsPerBand_) {
        // One band: composed here and handed over as it lies in the composer.
        const int64_t bandPixels = int64_t(area.width) * area.height;
        composer_.SetProgress([&](int done, int) { Tell(bandPixels, done); });
        RasterView band;
        JobResult composed = composer_.ComposeWindowView(area.x, area.y, area.width, area.height, band);
        composer_.SetProgress({});
        if (!composed.ok()) return composed;
        pixelsDone_ += bandPixels;
        if (JobResult taken = take(band, area.y); !taken.ok()) return taken;
        return stop_.stop_requested() ? JobResult::Cancelled() : JobResult::Done();
    }

    const size_t rowBytes = size_t(area.width) * 3;
    copy_.resize(rowBytes * size_t(rowsPerBand_)); // before anything runs: a throw here leaves nothing behind
    std::shared_ptr<Flight> next = Launch(bandAt(area.y));
    for (int top = area.y;;) {
        const std::shared_ptr<Flight> flight = std::move(next);
        JobResult composed = Land(*flight);
        if (stop_.stop_requested()) return JobResult::Cancelled();
        if (!composed.ok()) return composed;
        const RasterView band = flight->view;
        for (int y = 0; y < band.height; ++y) std::memcpy(copy_.data() + rowBytes * size_t(y), band.row(y), rowBytes);
        const RasterView copy{copy_.data(), ptrdiff_t(rowBytes), band.width, band.height};
        const int following = top + band.height;
        if (following < area.y + area.height) next = Launch(bandAt(following));
        // The next band is composed while this one is taken; if taking fails
        // (or throws), the next one is stopped and waited for before returning.
        JobResult taken;
        try {
            taken = take(copy, top);
        } catch (...) {
            Abandon(next);
            throw;
        }
        if (!taken.ok()) {
            Abandon(next);
            return taken;
        }
        if (!next) break;
        top = following;
    }
    return stop_.stop_requested() ? JobResult::Cancelled() : JobResult::Done();
}

} // namespace zb
