#pragma once
// Row kernels of the filter routine. The routine keeps a few bordered rows of
// 16-bit channel values and asks a kernel for one output row at a time.
#include <cstdint>

#include "imaging/FilterTable.h"

namespace zb {

// One output row's inputs. rows[k] is the bordered row y - 2 + k: value j is
// byte j - 6 of the raster row, so values 0 .. 5 and count + 6 .. count + 11
// repeat the first and the last pixel twice. Value 6 of every row, scratch
// rows included, lies on a 64-byte boundary. Borrowed from the caller.
//
// Strided kernels (and the scalar one) take the horizontal taps tapStep
// values apart instead of 3: the rows then hold count + 4 tapStep values,
// value 2 tapStep being the first byte, and so do the scratch rows.
struct FilterRowInput {
    const int16_t* rows[5];
    int16_t* scratch[5]; // five rows of count + 4 tapStep values a kernel may use freely
    int count;        // bytes of the output row: 3 x width
    int tapStep = 3;  // values from one tap column to the next
};

// Writes exactly `count` bytes to out and nothing beyond.
using FilterRowKernel = void (*)(const FilterRowInput& in, uint8_t* out);
// Copies `count` bytes of a raster row into a bordered row (count + 12 values).
using FilterWidenKernel = void (*)(const uint8_t* source, int count, int16_t* bordered);

// Kernels for the table entries in one instruction set.
struct FilterKernelSet {
    FilterRowKernel rows[kFilterCount];
    FilterRowKernel stridedRows[kFilterCount]; // taps tapStep values apart
    FilterWidenKernel widen;
    int minCount; // narrower rows must take the scalar kernel
};

// Each returns nullptr when this processor cannot run the instruction set.
const FilterKernelSet* Sse2FilterKernels();
const FilterKernelSet* Avx2FilterKernels();
const FilterKernelSet* Avx512FilterKernels();

// Any entry, any width: the algorithm with 32-bit sums, one value at a time.
void ScalarFilterRow(const FilterRowInput& in, const FilterEntry& filter, uint8_t* out);
void ScalarWidenRow(const uint8_t* source, int count, int16_t* bordered);

} // namespace zb
