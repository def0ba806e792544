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

void BoxAverageRowAvx2(const uint32_t* padded, int width, int k, uint32_t multiplier, uint32_t* prefix,
                       int16_t* out) {
    // prefix[v + 3] = prefix[v] + padded[v]: running sums per channel, eight
    // values at a time. Within a vector the sums run over lanes three apart;
    // the previous vector's last three lanes carry each channel on (eight
    // values later the channels are shifted by two, which the carry's lane
    // pattern absorbs). Sums wrap at 2^32; their differences, the box sums,
    // are far below it.
    const int n = 3 * (width + k - 1);
    prefix[0] = prefix[1] = prefix[2] = 0;
    const __m256i carryFrom = _mm256_setr_epi32(5, 6, 7, 5, 6, 7, 5, 6);
    __m256i last = _mm256_setzero_si256();
    for (int v = 0; v < n; v += 8) {
        __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(padded + v));
        x = _mm256_add_epi32(x, UpThree(x));
        x = _mm256_add_epi32(x, UpSix(x));
        last = _mm256_add_epi32(x, _mm256_permutevar8x32_epi32(last, carryFrom));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(prefix + v + 3), last);
    }
    // Box sum of value v: prefix[v + 3k] - prefix[v]; below 2^22, so the
    // product with the multiplier (about 2^24 / k^2) stays below 2^32 and a
    // 32-bit multiply gives it exactly.
    const int count = 3 * width, tap = 3 * k;
    const __m256i m = _mm256_set1_epi32(int32_t(multiplier));
    const __m256i half = _mm256_set1_epi32(1 << 23);
    auto average = [&](int v) {
        const __m256i s = _mm256_sub_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(prefix + v + tap)),
                                           _mm256_loadu_si256(reinterpret_cast<const __m256i*>(prefix + v)));
        return _mm256_srli_epi32(_mm256_add_epi32(_mm256_mullo_epi32(s, m), half), 24);
    };
    int v = 0;
    for (; v + 16 <= count; v += 16) {
        const __m256i packed = _mm256_packs_epi32(average(v), average(v + 8)); // halves interleaved
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
