// Filter row kernels for AVX2, chosen at run time on processors that have it.
// Only this file's own internal functions are compiled for AVX2, so nothing
// shared with the rest of the program can pick up AVX2 instructions.
#include <immintrin.h>

#include <utility>

#include "imaging/FilterDefinitions.h"
#include "imaging/FilterRowKernel.h"
#include "imaging/SimdTarget.h"

ZB_SIMD_TARGET_BEGIN("avx2")

namespace zb {
namespace {

struct Avx2Ops {
    using V = __m256i;
    static constexpr int kLanes = 16;
    static V Load(const int16_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static void Store(int16_t* p, V v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
    static V Zero() { return _mm256_setzero_si256(); }
    static V Set1(int16_t v) { return _mm256_set1_epi16(v); }
    static V Add(V a, V b) { return _mm256_add_epi16(a, b); }
    static V Sub(V a, V b) { return _mm256_sub_epi16(a, b); }
    static V Mullo(V a, V b) { return _mm256_mullo_epi16(a, b); }
    static V AddSat(V a, V b) { return _mm256_adds_epi16(a, b); }
    static V Max(V a, V b) { return _mm256_max_epi16(a, b); }
    static V MulhiU(V a, V b) { return _mm256_mulhi_epu16(a, b); }
    template <int S>
    static V Srli(V a) { return _mm256_srli_epi16(a, S); }
    static void StorePacked(uint8_t* out, V a, V b) {
        // packus works within 128-bit lanes; put the quarters back in order.
        const __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi16(a, b), 0xD8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), packed);
    }
    static void Widen(const uint8_t* source, int16_t* out) {
        Store(out, _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(source))));
    }
};

using I = Avx2Ops;
#include "imaging/FilterSimdKernels.inc"

constexpr FilterKernelSet kSet = MakeKernelSet(std::make_integer_sequence<int, kFilterCount>{});

} // namespace
} // namespace zb

ZB_SIMD_TARGET_END

namespace zb {

const FilterKernelSet* Avx2FilterKernels() {
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported ? &kSet : nullptr;
}

} // namespace zb
