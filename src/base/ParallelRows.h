#pragma once
// Splits a raster's rows into bands and runs a kernel on each band, one band
// per processor core (up to eight threads) when the work is large enough to
// pay for the threads. Kernels must write
// only their own rows; the result is then identical to a single-band run.
#include <cstdint>
#include <functional>

namespace zb {

// Below this many bytes a second thread costs more than it saves.
inline constexpr int64_t kParallelMinBytes = int64_t{1} << 20;

// Calls kernel(y0, y1) for disjoint bands [y0, y1) covering 0 .. height.
// `bytesTouched` is the work size; small work runs inline in one band.
void ParallelRows(int height, int64_t bytesTouched, const std::function<void(int y0, int y1)>& kernel);

// Number of worker threads used for large work (at least 1).
int ParallelThreadCount();

} // namespace zb
