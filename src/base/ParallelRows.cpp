#include "base/ParallelRows.h"

#include <algorithm>

#include "base/StopScope.h"
#include "base/ThreadPool.h"

namespace zb {

int ParallelThreadCount() { return std::max(1, ThreadPool::Shared().Size()); }

namespace {

// Rows a band runs before it asks again whether the work should stop.
constexpr int kStopCheckRows = 64;

} // namespace

void ParallelRows(int height, int64_t bytesTouched, const std::function<void(int, int)>& outer) {
    if (height <= 0) return;
    // Work that may be stopped runs in short steps, asking before each;
    // kernels write only their own rows, so the result does not change.
    const std::stop_token* stop = CurrentStopToken();
    const std::function<void(int, int)> checked = [&outer](int y0, int y1) {
        for (int y = y0; y < y1; y += kStopCheckRows) {
            if (StopRequested()) return;
            outer(y, std::min(y1, y + kStopCheckRows));
        }
    };
    const std::function<void(int, int)>& kernel = stop ? checked : outer;
    const int bands = std::min(ParallelThreadCount(), height);
    if (bands <= 1 || bytesTouched < kParallelMinBytes) {
        kernel(0, height);
        return;
    }
    const int rows = (height + bands - 1) / bands;
    ThreadPool::Shared().ForEach(bands, [&](int b) {
        const int y0 = b * rows;
        const int y1 = std::min(height, y0 + rows);
        if (y0 < y1) kernel(y0, y1);
    });
}

} // namespace zb
