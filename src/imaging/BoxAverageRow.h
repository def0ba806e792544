#pragma once
// One row of k x k box averages, in the raster's own order, from the row's
// column sums (each the sum of k raster rows). Used by the scaled filter.
#include <cstdint>

namespace zb {

// `padded` holds the column sums (each at most 128 x 255) of pixels -h .. width - 1 + k - 1 - h
// (h = k div 2; (width + k - 1) x 3 values, the edge columns repeated), so
// the box of pixel x is padded pixels x .. x + k - 1. Writes width x 3 values
// (S * multiplier + 2^23) >> 24 to `out`. `prefix` is working room of
// BoxPrefixValues(width, k) values; `padded` must be readable for
// BoxPrefixValues(width, k) values too (what lies past its end is ignored).
using BoxAverageRowFn = void (*)(const uint16_t* padded, int width, int k, uint32_t multiplier, uint32_t* prefix,
                                 int16_t* out);

inline int BoxPrefixValues(int width, int k) { return 3 * (width + k) + 48; }

void ScalarBoxAverageRow(const uint16_t* padded, int width, int k, uint32_t multiplier, uint32_t* prefix,
                         int16_t* out);
// sums[i] += add[i] - remove[i] for count values: the column sums one row
// further down. A sum of k <= 128 bytes fits 16 bits.
using ColumnSlideFn = void (*)(uint16_t* sums, const uint8_t* add, const uint8_t* remove, int count);

// Each nullptr when this processor has no AVX2.
BoxAverageRowFn Avx2BoxAverageRow();
ColumnSlideFn Avx2SlideColumnSums();

} // namespace zb
