#include <gtest/gtest.h>

#include <atomic>
#include <stop_token>
#include <vector>

#include "base/ParallelRows.h"
#include "base/StopScope.h"
#include "base/ThreadPool.h"
#include "model/Design.h"
#include "render/Compositor.h"

using zb::JobResult;

namespace {

// Three pattern layers over a gradient: enough rows for every worker.
void ThreeLayers(zb::Design& design) {
    for (int i = 0; i < 3; ++i) {
        zb::TLayerRecord& layer = design.Layers.Add();
        zb::SetLayerDefaults(layer);
        layer.Kind = i == 0 ? zb::kKindGradient : zb::kKindPattern;
        layer.PatternCount = 400;
    }
}

} // namespace

// Every item runs exactly once, also when ForEach is called from tasks that
// keep every worker busy (the callers then work through their own items).
TEST(ThreadPool, ForEachRunsEveryItemOnceEvenFromBusyWorkers) {
    zb::ThreadPool pool(2);
    constexpr int kItems = 257;
    std::vector<std::atomic<int>> runs(size_t(kItems) * 3);
    std::atomic<int> finished{0};
    for (int task = 0; task < 2; ++task) {
        pool.Post([&, task] {
            pool.ForEach(kItems, [&](int i) { runs[size_t(task * kItems + i)]++; });
            finished++;
        });
    }
    pool.ForEach(kItems, [&](int i) { runs[size_t(2 * kItems + i)]++; });
    while (finished.load() < 2) std::this_thread::yield();
    for (size_t i = 0; i < runs.size(); ++i) ASSERT_EQ(runs[i].load(), 1) << "item " << i;
}

// How work ends: row bands under a stop token, and a composition's result
// when its token is stopped before it starts, after its first layer, or never.
TEST(JobStop, ResultsAndStopping) {
    struct Case {
        const char* name;
        int stopAfterLayer;     // -1: never; 0: before it starts
        JobResult::Kind kind;
        bool valid;             // the compositor holds the sheet afterwards
    } cases[] = {
        {"never stopped", -1, JobResult::Kind::Done, true},
        {"stopped before", 0, JobResult::Kind::Cancelled, false},
        {"stopped after the first layer", 1, JobResult::Kind::Cancelled, false},
    };
    zb::Design design;
    ThreeLayers(design);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        zb::Compositor compositor;
        ASSERT_EQ(compositor.EnsureSize({900, 700}), "");
        std::stop_source stop;
        if (c.stopAfterLayer == 0) stop.request_stop();
        int layersTold = 0;
        compositor.SetProgress([&](int done, int) {
            layersTold = done;
            if (done == c.stopAfterLayer) stop.request_stop();
        });
        compositor.SetStop(stop.get_token());
        const JobResult result = compositor.ComposeFromSeed(design, 96, 100, 9, nullptr);
        EXPECT_EQ(result.kind, c.kind);
        EXPECT_EQ(result.message, "");
        EXPECT_EQ(compositor.DesignValid(), c.valid);
        EXPECT_EQ(compositor.HoldsComposition(), c.valid);
        EXPECT_EQ(layersTold, c.stopAfterLayer < 0 ? 3 : c.stopAfterLayer);
        // The token goes with the composition: none is left on this thread.
        EXPECT_EQ(zb::CurrentStopToken(), nullptr);
    }

    // Row bands: all rows without a token or with one not stopped, none
    // once it is stopped, whichever thread of the pool runs them.
    const int height = 1000;
    for (const int tokenState : {0, 1, 2}) {
        SCOPED_TRACE(testing::Message() << "token state " << tokenState);
        std::stop_source stop;
        if (tokenState == 2) stop.request_stop();
        std::vector<std::atomic<int>> seen(height);
        const auto kernel = [&](int y0, int y1) {
            for (int y = y0; y < y1; ++y) seen[size_t(y)]++;
        };
        const int64_t large = int64_t(1) << 24;
        if (tokenState == 0) {
            zb::ParallelRows(height, large, kernel);
        } else {
            const std::stop_token token = stop.get_token();
            zb::StopScope scope(token);
            zb::ParallelRows(height, large, kernel);
        }
        int done = 0;
        for (const auto& n : seen) {
            ASSERT_LE(n.load(), 1);
            done += n.load();
        }
        EXPECT_EQ(done, tokenState == 2 ? 0 : height);
    }
}
