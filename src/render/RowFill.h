#pragma once
// Small row helpers shared by the fill kernels: filling a row with one colour
// and repeating the start of a row along it. Internal to the render kernels.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zb::rowfill {

// Writes `count` pixels of the colour (blue, green, red) from `row` on.
// 48 bytes hold 16 whole pixels, so the pattern repeats per block and the
// compiler turns each block into three vector stores.
inline void FillPixels(uint8_t* row, size_t count, uint8_t b, uint8_t g, uint8_t r) {
    uint8_t block[48];
    for (int i = 0; i < 16; ++i) {
        block[3 * i] = b;
        block[3 * i + 1] = g;
        block[3 * i + 2] = r;
    }
    const size_t bytes = count * 3;
    size_t i = 0;
    for (; i + 48 <= bytes; i += 48) std::memcpy(row + i, block, 48);
    std::memcpy(row + i, block, bytes - i);
}

// The first `filled` bytes of the row repeat along its `total` bytes: copies
// the prefix onto itself with doubling lengths (each copy reads only bytes
// written before it, so the copies never overlap).
inline void RepeatPrefix(uint8_t* row, size_t filled, size_t total) {
    if (filled == 0) return;
    while (filled < total) {
        const size_t n = std::min(filled, total - filled);
        std::memcpy(row + filled, row, n);
        filled += n;
    }
}

} // namespace zb::rowfill
