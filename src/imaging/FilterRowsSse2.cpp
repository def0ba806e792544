// Filter row kernels for SSE2, which every x86-64 processor has.
#include <immintrin.h>

#include <utility>

#include "imaging/FilterDefinitions.h"
#include "imaging/FilterRowKernel.h"

namespace zb {
namespace {

struct Sse2Ops {
    using V = __m128i;
    static constexpr int kLanes = 8;
    static V Load(const int16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    static void Store(int16_t* p, V v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
    static V Zero() { return _mm_setzero_si128(); }
    static V Set1(int16_t v) { return _mm_set1_epi16(v); }
    static V Add(V a, V b) { return _mm_add_epi16(a, b); }
    static V Sub(V a, V b) { return _mm_sub_epi16(a, b); }
    static V Mullo(V a, V b) { return _mm_mullo_epi16(a, b); }
    static V AddSat(V a, V b) { return _mm_adds_epi16(a, b); }
    static V Max(V a, V b) { return _mm_max_epi16(a, b); }
    static V MulhiU(V a, V b) { return _mm_mulhi_epu16(a, b); }
    template <int S>
    static V Srli(V a) { return _mm_srli_epi16(a, S); }
    // 2 x kLanes values, clamped to 0 .. 255, as bytes.
    static void StorePacked(uint8_t* out, V a, V b) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(a, b));
    }
    // kLanes bytes widened to 16 bits.
    static void Widen(const uint8_t* source, int16_t* out) {
        const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(source));
        Store(out, _mm_unpacklo_epi8(bytes, _mm_setzero_si128()));
    }
};

using I = Sse2Ops;
#include "imaging/FilterSimdKernels.inc"

constexpr FilterKernelSet kSet = MakeKernelSet(std::make_integer_sequence<int, kFilterCount>{});

} // namespace

const FilterKernelSet* Sse2FilterKernels() { return &kSet; }

} // namespace zb
