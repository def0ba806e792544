#pragma once
// The filter table as compile-time data, so that the vector kernels can be
// specialised on each entry's weights. FilterTable (FilterTable.cpp) is built
// from these definitions; nothing else should depend on this header.
#include <cstdint>

#include "imaging/FilterTable.h"

namespace zb::filterdef {

// Weights written the way one looks at the picture: picture[row][column], the
// first row two rows above the target pixel, the first column two columns to
// its left. Stored with the horizontal offset as the major index.
constexpr FilterEntry FromPicture(const char* name, int32_t divisor, int32_t bias,
                                  const int32_t (&picture)[5][5]) {
    FilterEntry e{divisor, bias, {}, name};
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 5; ++column) e.Weights[5 * column + row] = picture[row][column];
    return e;
}

inline constexpr FilterEntry kEntries[kFilterCount] = {
    FromPicture("Weichzeichnen", 9, 0,
                {{0, 0, 0, 0, 0}, {0, 1, 1, 1, 0}, {0, 1, 1, 1, 0}, {0, 1, 1, 1, 0}, {0, 0, 0, 0, 0}}),
    FromPicture("Schwach Weichzeichnen", 5, 0,
                {{0, 0, 0, 0, 0}, {0, 0, 1, 0, 0}, {0, 1, 1, 1, 0}, {0, 0, 1, 0, 0}, {0, 0, 0, 0, 0}}),
    FromPicture("Stark Weichzeichnen", 25, 0,
                {{1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}}),
    FromPicture("Schärfen", 12, 0,
                {{0, 0, 0, 0, 0}, {0, -1, -1, -1, 0}, {0, -1, 20, -1, 0}, {0, -1, -1, -1, 0}, {0, 0, 0, 0, 0}}),
    FromPicture("Stark Schärfen", 36, 0,
                {{-1, -1, -1, -1, -1},
                 {-1, -1, -1, -1, -1},
                 {-1, -1, 60, -1, -1},
                 {-1, -1, -1, -1, -1},
                 {-1, -1, -1, -1, -1}}),
    FromPicture("Grease", 1, 0,
                {{0, 0, 0, 0, 0}, {0, 1, 1, 1, 0}, {0, 1, -7, 1, 0}, {0, 1, 1, 1, 0}, {0, 0, 0, 0, 0}}),
    FromPicture("Lithograph", 1, 0,
                {{-1, -1, -1, -1, -1},
                 {-1, -10, -10, -10, -1},
                 {-1, -10, 98, -10, -1},
                 {-1, -10, -10, -10, -1},
                 {-1, -1, -1, -1, -1}}),
    FromPicture("Psychdist", 1, 0,
                {{0, 0, 0, 0, 0}, {-1, -1, -1, -1, -1}, {-2, 3, 10, 3, -2}, {-3, 2, 2, 2, -3}, {-4, 1, 1, 1, -4}}),
    FromPicture("Ecken hervorheben", 1, 0,
                {{0, 0, 0, 0, 0}, {0, -1, -1, -1, 0}, {0, -1, 9, -1, 0}, {0, -1, -1, -1, 0}, {0, 0, 0, 0, 0}}),
    FromPicture("Ecken finden", 1, 0,
                {{0, 0, 0, 0, 0}, {0, -1, -1, -1, 0}, {0, -1, 8, -1, 0}, {0, -1, -1, -1, 0}, {0, 0, 0, 0, 0}}),
    FromPicture("Ecken horizontal finden", 1, 0,
                {{0, 0, 0, 0, 0}, {0, -1, -1, -1, 0}, {0, 0, 0, 0, 0}, {0, 1, 1, 1, 0}, {0, 0, 0, 0, 0}}),
    FromPicture("Ecken vertikal finden", 1, 0,
                {{0, 0, 0, 0, 0}, {0, -1, 0, 1, 0}, {0, -1, 0, 1, 0}, {0, -1, 0, 1, 0}, {0, 0, 0, 0, 0}}),
    FromPicture("Emboss", 1, 128,
                {{0, 0, 0, 0, 0}, {0, -1, -1, -1, 0}, {0, 0, 0, 0, 0}, {0, 1, 1, 1, 0}, {0, 0, 0, 0, 0}}),
    FromPicture("Emboss vertikal", 1, 128,
                {{0, 0, 0, 0, 0}, {0, -1, 0, 1, 0}, {0, -1, 0, 1, 0}, {0, -1, 0, 1, 0}, {0, 0, 0, 0, 0}}),
};

// Channel sums of an entry lie in [MinSum, MaxSum]: every channel is 0 .. 255.
constexpr int64_t MaxSum(const FilterEntry& e) {
    int64_t s = 0;
    for (int32_t w : e.Weights) if (w > 0) s += int64_t(w) * 255;
    return s;
}
constexpr int64_t MinSum(const FilterEntry& e) {
    int64_t s = 0;
    for (int32_t w : e.Weights) if (w < 0) s += int64_t(w) * 255;
    return s;
}

// Exact unsigned division by multiply-high: for 0 <= s <= limit,
// s / d == ((s * multiplier) >> 16) >> shift. Found by trying every shift and
// checking every numerator, so a returned pair is proven on the whole range.
struct DivisionMagic {
    uint16_t multiplier = 0;
    int shift = 0;
    bool valid = false;
};

constexpr DivisionMagic FindDivisionMagic(uint32_t d, uint32_t limit) {
    if (d == 0 || limit > 0xFFFF) return {};
    for (int shift = 0; shift < 16; ++shift) {
        const uint64_t m = ((uint64_t{1} << (16 + shift)) + d - 1) / d;
        if (m > 0xFFFF) break;
        bool exact = true;
        for (uint32_t s = 0; s <= limit && exact; ++s)
            exact = ((uint64_t(s) * m) >> (16 + shift)) == s / d;
        if (exact) return {uint16_t(m), shift, true};
    }
    return {};
}

} // namespace zb::filterdef
