#pragma once
// The filter routine with its knobs exposed: which instruction set, how many
// row bands, how much working memory. ApplyFilter uses the defaults; tests
// and benchmarks set them to check every path.
#include <cstdint>

#include "imaging/FilterTable.h"
#include "base/RasterView.h"

namespace zb {

enum class FilterIsa { Automatic, Scalar, Sse2, Avx2, Avx512 };

struct FilterRunOptions {
    FilterIsa isa = FilterIsa::Automatic; // Automatic: the fastest this processor runs
    int bands = 0;                        // 0: one per core for large rasters, else 1
    // Working memory above this many bytes counts as unavailable (0: no limit).
    int64_t workBytesLimit = 0;
};

// True when this processor can run the instruction set (Automatic: always).
bool FilterIsaSupported(FilterIsa isa);
// The instruction set Automatic stands for on this processor.
FilterIsa BestFilterIsa();

// Filters in place. The table's entries take the vector kernels; any other
// entry (and rows too narrow for a vector) the scalar one, with the same
// results. The working memory is a few bordered rows per band, not a copy of
// the raster. Returns false, with the raster unchanged, when it cannot be
// allocated. An empty view is left alone (true).
bool ApplyFilterWith(RasterView raster, const FilterEntry& filter, const FilterRunOptions& options);

struct FilterKernelSet;
// The vector kernels for the instruction set (nullptr for Scalar) and the
// table index of an entry (-1 for any other entry, which takes the scalar
// kernel): for routines that feed the row kernels rows of their own.
const FilterKernelSet* FilterKernelsFor(FilterIsa isa);
int FilterTableIndex(const FilterEntry& filter);

} // namespace zb
