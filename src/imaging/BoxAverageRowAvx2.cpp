// The box averages of a row with AVX2, chosen at run time on processors that
// have it. Only this file's own functions are compiled for AVX2.
#include <immintrin.h>

#include <algorithm>

#include "imaging/BoxAverageRow.h"
#include "imaging/SimdTarget.h"

ZB_SIMD_TARGET_BEGIN("avx2")

namespace zb {
namespace {

// Lanes moved up by three (a channel's previous pixel), zeros shifted in.
inline __m256i UpThree(__m256i v) {
    const __m256i from = _mm256_setr_epi32(0, 0, 0, 0, 1, 2, 3, 4);
    const __m256i keep = _mm256_setr_epi32(0, 0, 0, -1, -1, -1, -1, -1);
    return _mm256_and_si256(_mm256_permutevar8x32_epi32(v, from), keep);
}

inline __m256i UpSix(__m256i v) {
    const __m256i from = _mm256_setr_epi32(0, 0, 0, 0, 0, 0, 0, 1);
    const __m256i keep = _mm256_setr_epi32(0, 0, 0, 0, 0, 0, -1, -1);
    return _mm256_and_si256(_mm256_permutevar8x32_epi32(v, from), keep);
}

// Running sums over the lanes of one channel within eight values.
inline __m256i ScanEight(const uint16_t* p) {
    __m256i x = _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    x = _mm256_add_epi32(x, UpThree(x));
    return _mm256_add_epi32(x, UpSix(x));
}

// Rounded averages of eight values from their box sums, the differences of
// running sums `tap` values apart.
inline __m256i AverageEight(const uint32_t* q, int tap, __m256i multiplier, __m256i half) {
    const __m256i s = _mm256_sub_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + tap)),
                                       _mm256_loadu_si256(reinterpret_cast<const __m256i*>(q)));
    return _mm256_srli_epi32(_mm256_add_epi32(_mm256_mullo_epi32(s, multiplier), half), 24);
}

inline void StoreSixteen(const uint32_t* q, int tap, __m256i multiplier, __m256i half, int16_t* out) {
    const __m256i packed = _mm256_packs_epi32(AverageEight(q, tap, multiplier, half),
                                              AverageEight(q + 8, tap, multiplier, half)); // halves interleaved
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_permute4x64_epi64(packed, 0xD8));
}

void BoxAverageRowAvx2(const uint16_t* padded, int width, int k, uint32_t multiplier, uint32_t* prefix,
                       int16_t* out) {
    // prefix[v + 3] = prefix[v] + padded[v]: running sums per channel, 24
    // values (eight pixels) at a time. Within a vector the sums run over
    // lanes three apart; the next vector of the block takes the last three
    // lanes of the one before as its carry (the lane pattern of
    // `carryFrom` matches channels whatever the vector's start). The sums
    // before the block are added last, so the only dependency from one block
    // to the next is one addition. Sums wrap at 2^32; their differences, the
    // box sums, are far below it.
    const int n = 3 * (width + k - 1);
    prefix[0] = prefix[1] = prefix[2] = 0;
    const __m256i carryFrom = _mm256_setr_epi32(5, 6, 7, 5, 6, 7, 5, 6);
    // Channel c of the running total sits in lane c; spread for the second
    // and third vector of a block, which start at channels 2 and 1.
    const __m256i toSecond = _mm256_setr_epi32(2, 0, 1, 2, 0, 1, 2, 0);
    const __m256i toThird = _mm256_setr_epi32(1, 2, 0, 1, 2, 0, 1, 2);
    // Box sum of value v: prefix[v + 3k] - prefix[v]; below 2^22, so the
    // product with the multiplier (about 2^24 / k^2) stays below 2^32 and a
    // 32-bit multiply gives it exactly. The averages follow the running sums
    // chunk by chunk, while those are still in the first-level cache.
    const int count = 3 * width, tap = 3 * k;
    const __m256i m = _mm256_set1_epi32(int32_t(multiplier));
    const __m256i half = _mm256_set1_epi32(1 << 23);
    constexpr int kChunk = 64 * 24; // whole blocks, so every block starts at channel 0
    __m256i total = _mm256_setzero_si256(); // sums of the blocks before, lane pattern of a block's start
    int v = 0; // next average
    for (int c0 = 0; c0 < n; c0 += kChunk) {
        const int c1 = std::min(n, c0 + kChunk);
        for (int b = c0; b < c1; b += 24) {
            const __m256i x = ScanEight(padded + b);
            const __m256i y = _mm256_add_epi32(ScanEight(padded + b + 8), _mm256_permutevar8x32_epi32(x, carryFrom));
            const __m256i z = _mm256_add_epi32(ScanEight(padded + b + 16), _mm256_permutevar8x32_epi32(y, carryFrom));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(prefix + b + 3), _mm256_add_epi32(x, total));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(prefix + b + 11),
                                _mm256_add_epi32(y, _mm256_permutevar8x32_epi32(total, toSecond)));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(prefix + b + 19),
                                _mm256_add_epi32(z, _mm256_permutevar8x32_epi32(total, toThird)));
            total = _mm256_add_epi32(total, _mm256_permutevar8x32_epi32(z, carryFrom));
        }
        // prefix[0 .. c1 + 3) is final.
        for (; v + 16 <= count && v + tap + 16 <= c1 + 3; v += 16) StoreSixteen(prefix + v, tap, m, half, out + v);
    }
    for (; v + 16 <= count; v += 16) StoreSixteen(prefix + v, tap, m, half, out + v);
    for (; v < count; ++v) out[v] = int16_t((uint32_t(prefix[v + tap] - prefix[v]) * multiplier + (1u << 23)) >> 24);
}

void SlideColumnSumsAvx2(uint16_t* sums, const uint8_t* add, const uint8_t* remove, int count) {
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m256i a = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(add + i)));
        const __m256i r = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(remove + i)));
        __m256i* s = reinterpret_cast<__m256i*>(sums + i);
        _mm256_storeu_si256(s, _mm256_add_epi16(_mm256_loadu_si256(s), _mm256_sub_epi16(a, r)));
    }
    for (; i < count; ++i) sums[i] = uint16_t(sums[i] + add[i] - remove[i]);
}

} // namespace
} // namespace zb

ZB_SIMD_TARGET_END

namespace zb {

BoxAverageRowFn Avx2BoxAverageRow() {
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported ? &BoxAverageRowAvx2 : nullptr;
}

ColumnSlideFn Avx2SlideColumnSums() {
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported ? &SlideColumnSumsAvx2 : nullptr;
}

} // namespace zb
