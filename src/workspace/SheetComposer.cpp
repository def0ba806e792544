#include "workspace/SheetComposer.h"

#include <chrono>
#include <new>
#include <vector>

#include "base/ThreadPool.h"
#include "render/BandComposer.h"
#include "render/DesignViewPaint.h"

namespace zb {

SheetComposer::SheetComposer(FontEngine* fonts) : fonts_(fonts) {}

SheetComposer::~SheetComposer() {
    std::unique_lock<std::mutex> lock(mutex_);
    stopping_ = true;
    queued_.reset();
    stop_.request_stop();
    idle_.wait(lock, [this] { return !running_; });
}

void SheetComposer::SetFinished(std::function<void()> finished) {
    std::lock_guard<std::mutex> lock(mutex_);
    finished_ = std::move(finished);
}

void SheetComposer::Start(SheetJob job) {
    std::lock_guard<std::mutex> lock(mutex_);
    queued_ = std::move(job);
    result_.reset();
    if (running_) {
        stop_.request_stop(); // the running task goes on with the queued job
        return;
    }
    running_ = true;
    ThreadPool::Shared().Post([this] { Run(); });
}

void SheetComposer::Cancel() {
    std::lock_guard<std::mutex> lock(mutex_);
    queued_.reset();
    result_.reset();
    if (running_) stop_.request_stop();
}

bool SheetComposer::Busy() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return running_ || queued_.has_value();
}

bool SheetComposer::Wait(int ms) {
    std::unique_lock<std::mutex> lock(mutex_);
    const auto idle = [this] { return !running_ && !queued_; };
    if (ms < 0) {
        idle_.wait(lock, idle);
        return true;
    }
    return idle_.wait_for(lock, std::chrono::milliseconds(ms), idle);
}

std::optional<SheetResult> SheetComposer::Take() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::optional<SheetResult> result = std::move(result_);
    result_.reset();
    return result;
}

void SheetComposer::Recycle(std::unique_ptr<Compositor> sheet) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!spare_) spare_ = std::move(sheet);
}

void SheetComposer::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (queued_ && !stopping_) {
        SheetJob job = std::move(*queued_);
        queued_.reset();
        stop_ = std::stop_source();
        const std::stop_token stop = stop_.get_token();
        std::unique_ptr<Compositor> sheet = std::move(spare_);
        lock.unlock();

        SheetResult result = Compose(job, std::move(sheet), stop);

        lock.lock();
        // A cancelled job (or one overtaken by a newer) leaves nothing to take.
        const bool keep = !stop.stop_requested() && !queued_ && !stopping_;
        const RasterSize extent{result.extent.width, result.extent.height};
        const bool composed = result.sheet && result.sheet->DesignValid() && result.sheet->Size() == extent;
        if (!composed || !keep) {
            // Nothing new to show: the compositor is composed into again.
            if (!spare_) spare_ = std::move(result.sheet);
            result.sheet.reset();
        }
        if (keep) result_ = std::move(result);
        // Told before the composer counts as idle, so that once Wait has
        // returned no call of `finished` is still under way.
        const std::function<void()> finished = keep ? finished_ : nullptr;
        if (finished) {
            lock.unlock();
            finished();
            lock.lock();
        }
        // The snapshot goes here, off the owner's thread.
        lock.unlock();
        job.design.reset();
        lock.lock();
    }
    running_ = false;
    idle_.notify_all();
}

SheetResult SheetComposer::Compose(SheetJob& job, std::unique_ptr<Compositor> sheet, std::stop_token stop) {
    SheetResult result;
    result.size = job.size;
    result.startSeed = job.seed;
    result.generation = job.generation;
    const PixelRect whole{0, 0, job.size.width, job.size.height};
    result.area = job.area.width > 0 && job.area.height > 0 ? job.area : whole;
    result.extent = ComposedExtent(*job.design, job.size, 1.0, result.area);
    const RasterSize extent{result.extent.width, result.extent.height};
    // The rasters hold the extent as a window of the sheet (none for the whole sheet).
    const SheetWindow window = result.extent == whole
                                   ? SheetWindow{}
                                   : SheetWindow{result.extent.x, result.extent.y, job.size.width, job.size.height};
    if (!sheet) sheet = std::make_unique<Compositor>();
    const int count = int(job.design->Layers.size());
    layersDone_ = 0;
    layerCount_ = count;
    sheet->Invalidate();
    sheet->SetStop(std::move(stop));
    const SheetKey key{job.size, job.ppi, job.zoom, job.seed, result.extent};
    std::shared_ptr<const KeptState> from;
    int spacing = 0;
    if (job.cache) {
        from = job.cache->Nearest(key, count);
        spacing = job.cache->Spacing(count, size_t(extent.width) * 3 * size_t(extent.height));
    }
    const ComposeStart start{from ? from->layers : 0, from ? from->View() : RasterView{}, job.seed, window};
    result.firstLayer = start.first;
    layersDone_ = start.first;
    RandomInt random(from ? from->seed : job.seed);
    sheet->SetProgress([this](int done, int) { layersDone_ = done; });
    // The states this job composes into stay its own until it ends, so none
    // is handed out again while a later layer still reads it.
    std::vector<std::shared_ptr<KeptState>> states;
    if (spacing > 0) {
        Compositor::KeptLayers kept;
        kept.raster = [&](int layers) -> RasterView {
            if (layers % spacing != 0) return {};
            try {
                std::shared_ptr<KeptState> state = job.cache->NewState(extent);
                if (!state) return {};
                state->layers = layers;
                states.push_back(state);
                return state->View();
            } catch (const std::bad_alloc&) {
                return {}; // no memory to spare: the state is not kept
            }
        };
        kept.composed = [&](int layers, uint32_t seed) {
            states.back()->seed = seed;
            try {
                if (states.back()->layers == layers) job.cache->Keep(job.cacheEpoch, key, spacing, states.back());
            } catch (const std::bad_alloc&) {
                // Not kept; the sheet is composed all the same.
            }
        };
        sheet->SetKeptLayers(std::move(kept));
    }
    const DesignPaintResult paint =
        PaintDesignView(*sheet, extent, extent, *job.design, job.ppi, job.zoom, random, fonts_, &start);
    result.message = paint.message;
    result.endSeed = random.seed();
    sheet->SetProgress({});
    sheet->SetStop({});
    sheet->SetKeptLayers({});
    result.sheet = std::move(sheet);
    return result;
}

} // namespace zb
