#include "base/ParallelRows.h"

#include "base/Cancellation.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace zb {

int ParallelThreadCount() {
    static const int count = [] {
        const unsigned n = std::thread::hardware_concurrency();
        return int(std::clamp(n, 1u, 8u));
    }();
    return count;
}

namespace {

// Rows a band runs before it asks again whether the work was cancelled.
constexpr int kCancelCheckRows = 64;

} // namespace

void ParallelRows(int height, int64_t bytesTouched, const std::function<void(int, int)>& outer) {
    if (height <= 0) return;
    // Work that may be cancelled runs in short bands, asking before each;
    // kernels write only their own rows, so the result does not change.
    const std::atomic<bool>* flag = CurrentCancelFlag();
    const std::function<void(int, int)> checked = [&outer, flag](int y0, int y1) {
        CancelScope scope(flag);
        for (int y = y0; y < y1; y += kCancelCheckRows) {
            if (flag->load(std::memory_order_relaxed)) return;
            outer(y, std::min(y1, y + kCancelCheckRows));
        }
    };
    const std::function<void(int, int)>& kernel = flag ? checked : outer;
    const int threads = std::min(ParallelThreadCount(), height);
    if (threads <= 1 || bytesTouched < kParallelMinBytes) {
        kernel(0, height);
        return;
    }
    std::vector<std::thread> workers;
    workers.reserve(size_t(threads - 1));
    const int band = (height + threads - 1) / threads;
    int inlineFrom = threads; // bands from here on run on this thread
    for (int t = 1; t < threads; ++t) {
        const int y0 = t * band;
        const int y1 = std::min(height, y0 + band);
        if (y0 >= y1) break;
        try {
            workers.emplace_back([&kernel, y0, y1] { kernel(y0, y1); });
        } catch (const std::system_error&) {
            // No thread to be had: this thread does the rest, the result is the same.
            inlineFrom = t;
            break;
        }
    }
    kernel(0, std::min(height, band));
    for (int t = inlineFrom; t < threads; ++t) {
        const int y0 = t * band;
        const int y1 = std::min(height, y0 + band);
        if (y0 < y1) kernel(y0, y1);
    }
    for (auto& w : workers) w.join();
}

} // namespace zb
