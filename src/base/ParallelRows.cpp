#include "base/ParallelRows.h"

#include <algorithm>
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

void ParallelRows(int height, int64_t bytesTouched, const std::function<void(int, int)>& kernel) {
    if (height <= 0) return;
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
