#pragma once
// The 14 fixed 5 x 5 convolution filters and the routine that runs one of them
// over a 24-bit raster.
#include <cstdint>

#include "base/RasterView.h"

namespace zb {

struct FilterEntry {
    int32_t Divisor;     // never 0
    int32_t Bias;        // added after the division
    // Weight 5 * a + b belongs to the pixel a - 2 columns to the right and
    // b - 2 rows below the target pixel (horizontal offset is the major index).
    int32_t Weights[25];
    const char* Name;    // list entry, UTF-8
};

inline constexpr int kFilterCount = 14;
extern const FilterEntry FilterTable[kFilterCount];

inline constexpr const char* kFilterMemoryMessage = "Fehler: Nicht genug Speicher für diese Aktion!";

// The table entry for a stored filter index; indices outside 0 .. 13 count as 0.
const FilterEntry& FilterForIndex(int32_t index);

// Filters the raster in place, edges replicated. Returns false, with the raster
// unchanged, when the working copy cannot be allocated.
bool ApplyFilter(RasterView raster, const FilterEntry& filter);

} // namespace zb
