#pragma once
// Composes the sheet on screen on the thread pool, so the window keeps
// answering while a large or dense design composes. One job runs at a time;
// a newer job cancels the running one (at its next row band or every few
// hundred shapes) and runs next. Finished work waits until the owner takes it.
//
// Ownership: the composer owns the jobs' snapshots of the design and the
// compositors it composes into; the font engine is borrowed and must outlive
// the composer. A job's cache of kept states is borrowed too and must outlive
// the composer. The destructor cancels and waits for the running job.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>

#include "model/Design.h"
#include "render/Compositor.h"
#include "render/DesignSize.h"
#include "render/FontEngine.h"
#include "workspace/SheetCache.h"

namespace zb {

struct SheetJob {
    // The snapshot of the design the job composes, its own.
    std::unique_ptr<const Design> design;
    RasterSize size;                // the whole sheet's
    // The part of the sheet to compose exactly (the whole sheet when empty).
    PixelRect area;
    double ppi = 96;
    double zoom = 30;
    uint32_t seed = 0;              // the generator's state at the sheet's start
    uint64_t generation = 0;        // the owner's count of changes when it asked
    // The states of the sheet kept so far (borrowed, may be null): the job
    // goes on from the highest one and keeps its own, in this epoch.
    SheetCache* cache = nullptr;
    uint64_t cacheEpoch = 0;
};

struct SheetResult {
    // The composed sheet; null when nothing new could be composed (the
    // rasters could not take the size), with the message saying why.
    std::unique_ptr<Compositor> sheet;
    RasterSize size;                // the whole sheet's
    // The part of the sheet that came out exactly, and the part the
    // compositor's rasters hold (the area with the filters' margin around
    // it): the area's pixel (x, y) is the rasters' (x - extent.x, y - extent.y).
    PixelRect area;
    PixelRect extent;
    uint32_t startSeed = 0;
    uint32_t endSeed = 0;           // where the generator stood afterwards
    int firstLayer = 0;             // the lowest layer composed; below it a kept state served
    uint64_t generation = 0;
    std::string message;            // German; empty when all went well
};

class SheetComposer {
public:
    explicit SheetComposer(FontEngine* fonts);
    ~SheetComposer();
    SheetComposer(const SheetComposer&) = delete;
    SheetComposer& operator=(const SheetComposer&) = delete;

    // Called on the composer's thread whenever a result is ready to take.
    void SetFinished(std::function<void()> finished);

    // Queues the job; a running job is cancelled, a queued one replaced.
    void Start(SheetJob job);
    // Cancels the running and the queued job; nothing will be finished for them.
    void Cancel();
    // A job is queued or running.
    bool Busy() const;
    // Waits until no job is queued or running, at most `ms` milliseconds
    // (negative: as long as it takes). True when the composer is idle.
    bool Wait(int ms);
    // The last finished result, once.
    std::optional<SheetResult> Take();
    // A compositor that is no longer shown, to be composed into again.
    void Recycle(std::unique_ptr<Compositor> sheet);
    // Layers done and layer count of the running job.
    int LayersDone() const { return layersDone_.load(); }
    int LayerCount() const { return layerCount_.load(); }

private:
    // Runs the queued jobs one after the other, on a thread of the pool.
    void Run();
    SheetResult Compose(SheetJob& job, std::unique_ptr<Compositor> sheet, std::stop_token stop);

    FontEngine* fonts_;
    std::function<void()> finished_;
    mutable std::mutex mutex_;
    std::condition_variable idle_;
    std::optional<SheetJob> queued_;
    std::optional<SheetResult> result_;
    std::unique_ptr<Compositor> spare_;
    // A task of the pool runs Run (from Start until it finds no job queued).
    bool running_ = false;
    bool stopping_ = false;
    // Stops the running job; a fresh source for each job.
    std::stop_source stop_;
    std::atomic<int> layersDone_{0};
    std::atomic<int> layerCount_{0};
};

} // namespace zb
