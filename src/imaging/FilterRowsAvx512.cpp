// Filter row kernels for AVX-512 (BW), chosen at run time on processors that have it.
// Only this file's own internal functions are compiled for AVX-512, so nothing
// shared with the rest of the program can pick up AVX-512 instructions.
#include <immintrin.h>

#include <utility>

#include "imaging/FilterDefinitions.h"
#include "imaging/FilterRowKernel.h"
#include "imaging/SimdTarget.h"

ZB_SIMD_TARGET_BEGIN("avx512f,avx512bw")

namespace zb {
namespace {

struct Avx512Ops {
    using V = __m512i;
    static constexpr int kLanes = 32;
    static V Load(const int16_t* p) { return _mm512_loadu_si512(p); }
    static void Store(int16_t* p, V v) { _mm512_storeu_si512(p, v); }
    static V Zero() { return _mm512_setzero_si512(); }
    static V Set1(int16_t v) { return _mm512_set1_epi16(v); }
    static V Add(V a, V b) { return _mm512_add_epi16(a, b); }
    static V Sub(V a, V b) { return _mm512_sub_epi16(a, b); }
    static V Mullo(V a, V b) { return _mm512_mullo_epi16(a, b); }
    static V AddSat(V a, V b) { return _mm512_adds_epi16(a, b); }
    static V Max(V a, V b) { return _mm512_max_epi16(a, b); }
    static V MulhiU(V a, V b) { return _mm512_mulhi_epu16(a, b); }
    template <int S>
    static V Srli(V a) { return _mm512_srli_epi16(a, S); }
    static void StorePacked(uint8_t* out, V a, V b) {
        // packus works within 128-bit lanes; put the eighths back in order.
        const __m512i order = _mm512_set_epi64(7, 5, 3, 1, 6, 4, 2, 0);
        _mm512_storeu_si512(out, _mm512_maskz_permutexvar_epi64(0xFF, order, _mm512_packus_epi16(a, b)));
    }
    static void Widen(const uint8_t* source, int16_t* out) {
        Store(out, _mm512_cvtepu8_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(source))));
    }
};

using I = Avx512Ops;
#include "imaging/FilterSimdKernels.inc"

constexpr FilterKernelSet kSet = MakeKernelSet(std::make_integer_sequence<int, kFilterCount>{});

} // namespace
} // namespace zb

ZB_SIMD_TARGET_END

namespace zb {

const FilterKernelSet* Avx512FilterKernels() {
    static const bool supported = __builtin_cpu_supports("avx512bw");
    return supported ? &kSet : nullptr;
}

} // namespace zb
