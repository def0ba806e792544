// The box averages of a row with AVX2, chosen at run time on processors that
// have it. Only this file's own functions are compiled for AVX2.
#include <immintrin.h>

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
inline __m256i ScanEight(const uint32_t* p) {
    __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
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

void BoxAverageRowAvx2(const uint32_t* padded, int width, int k, uint32_t multiplier, uint32_t* prefix,
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
    __m256i total = _mm256_setzero_si256(); // sums of the blocks before, lane pattern of a block's start
    for (int v = 0; v < n; v += 24) {
        const __m256i a = ScanEight(padded + v);
        const __m256i b = _mm256_add_epi32(ScanEight(padded + v + 8), _mm256_permutevar8x32_epi32(a, carryFrom));
        const __m256i c = _mm256_add_epi32(ScanEight(padded + v + 16), _mm256_permutevar8x32_epi32(b, carryFrom));
        __m256i* q = reinterpret_cast<__m256i*>(prefix + v + 3);
        _mm256_storeu_si256(q, _mm256_add_epi32(a, total));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(prefix + v + 11),
                            _mm256_add_epi32(b, _mm256_permutevar8x32_epi32(total, toSecond)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(prefix + v + 19),
                            _mm256_add_epi32(c, _mm256_permutevar8x32_epi32(total, toThird)));
        total = _mm256_add_epi32(total, _mm256_permutevar8x32_epi32(c, carryFrom));
    }
    // Box sum of value v: prefix[v + 3k] - prefix[v]; below 2^22, so the
    // product with the multiplier (about 2^24 / k^2) stays below 2^32 and a
    // 32-bit multiply gives it exactly.
    const int count = 3 * width, tap = 3 * k;
    const __m256i m = _mm256_set1_epi32(int32_t(multiplier));
    const __m256i half = _mm256_set1_epi32(1 << 23);
    int v = 0;
    for (; v + 16 <= count; v += 16) {
        const __m256i packed = _mm256_packs_epi32(AverageEight(prefix + v, tap, m, half), AverageEight(prefix + v + 8, tap, m, half)); // halves interleaved
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + v), _mm256_permute4x64_epi64(packed, 0xD8));
    }
    for (; v < count; ++v) out[v] = int16_t((uint32_t(prefix[v + tap] - prefix[v]) * multiplier + (1u << 23)) >> 24);
}

} // namespace
} // namespace zb

ZB_SIMD_TARGET_END

namespace zb {

BoxAverageRowFn Avx2BoxAverageRow() {
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported ? &BoxAverageRowAvx2 : nullptr;
}

} // namespace zb
