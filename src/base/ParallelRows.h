#pragma once
// Splits a raster's rows into bands and runs a kernel on each band on the
// program's thread pool (one band per worker) when the work is large enough
// to pay for it. Kernels must write only their own rows, so the result is
// identical to a single-band run, and must not throw (see ThreadPool).
#include <cstdint>
#include <functional>

namespace zb {

// Below this many bytes a second thread costs more than it saves.
inline constexpr int64_t kParallelMinBytes = int64_t{1} << 20;

// Calls kernel(y0, y1) for disjoint bands [y0, y1) covering 0 .. height.
// `bytesTouched` is the work size; small work runs inline in one band. Under
// a stop token (StopScope) the bands run in short steps and stop early once
// it is requested, leaving the rest of the rows unwritten.
void ParallelRows(int height, int64_t bytesTouched, const std::function<void(int y0, int y1)>& kernel);

// Number of bands large work is split into: the pool's size.
int ParallelThreadCount();

} // namespace zb
