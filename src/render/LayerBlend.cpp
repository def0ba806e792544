#include "render/LayerBlend.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define ZB_BLEND_AVX2 1
#endif

#include "base/ParallelRows.h"

namespace zb {

int BlendWeight(int32_t transparency) { return int(std::clamp<int64_t>(int64_t(transparency) + 5, 0, 10)); }

namespace {

#if ZB_BLEND_AVX2
// 32 bytes at a time: layer and design bytes interleaved into pairs, each pair
// multiplied by (10 - S, S) and summed in one step; the division by 10 is the
// same multiply-high. Unpack and pack both work within 128-bit halves, so
// the bytes come back in their order. Returns the bytes done.
__attribute__((target("avx2"))) size_t BlendBytesAvx2(uint8_t* out, const uint8_t* design, const uint8_t* layer,
                                                       size_t n, int weight) {
    const __m256i weights = _mm256_set1_epi16(int16_t((weight << 8) | (10 - weight)));
    const __m256i reciprocal = _mm256_set1_epi16(int16_t(6554));
    size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m256i l = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(layer + i));
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(design + i));
        __m256i lo = _mm256_maddubs_epi16(_mm256_unpacklo_epi8(l, d), weights);
        __m256i hi = _mm256_maddubs_epi16(_mm256_unpackhi_epi8(l, d), weights);
        lo = _mm256_mulhi_epu16(lo, reciprocal);
        hi = _mm256_mulhi_epu16(hi, reciprocal);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_packus_epi16(lo, hi));
    }
    return i;
}

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}
#endif

// `out` may be `design` (blending in place).
void BlendBytes(uint8_t* out, const uint8_t* design, const uint8_t* layer, size_t n, int weight) {
    const uint32_t wl = uint32_t(10 - weight), wd = uint32_t(weight);
    size_t i = 0;
#if ZB_BLEND_AVX2
    if (HasAvx2()) i = BlendBytesAvx2(out, design, layer, n, weight);
#endif
    // What the wide loop left (or everything without AVX2).
#if defined(__SSE2__)
    // 16 bytes at a time in 16-bit lanes: the sum is at most 2550, and the
    // unsigned multiply-high by 6554 is the exact division by 10 below 16384.
    const __m128i zero = _mm_setzero_si128();
    const __m128i layerWeight = _mm_set1_epi16(int16_t(wl));
    const __m128i designWeight = _mm_set1_epi16(int16_t(wd));
    const __m128i reciprocal = _mm_set1_epi16(int16_t(6554));
    for (; i + 16 <= n; i += 16) {
        const __m128i l = _mm_loadu_si128(reinterpret_cast<const __m128i*>(layer + i));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(design + i));
        __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(l, zero), layerWeight),
                                   _mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), designWeight));
        __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(l, zero), layerWeight),
                                   _mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), designWeight));
        lo = _mm_mulhi_epu16(lo, reciprocal);
        hi = _mm_mulhi_epu16(hi, reciprocal);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(lo, hi));
    }
#endif
    for (; i < n; ++i) out[i] = uint8_t(DivideBy10(layer[i] * wl + design[i] * wd));
}

bool SameSize(const RasterView& a, const RasterView& b) {
    return !a.empty() && a.width == b.width && a.height == b.height && b.data;
}

} // namespace

void BlendLayer(RasterView design, RasterView layer, int weight) { BlendLayerInto(design, design, layer, weight); }

void BlendLayerInto(RasterView out, RasterView design, RasterView layer, int weight) {
    if (!SameSize(design, layer) || !SameSize(out, design)) return;
    weight = std::clamp(weight, 0, 10);
    const bool inPlace = out.data == design.data;
    if (weight == 10 && inPlace) return;
    const size_t rowBytes = size_t(design.width) * 3;
    const int64_t work = int64_t(rowBytes) * design.height * (weight == 0 || weight == 10 ? 2 : 3);
    ParallelRows(design.height, work, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            if (weight == 0) std::memcpy(out.row(y), layer.row(y), rowBytes);
            else if (weight == 10) std::memcpy(out.row(y), design.row(y), rowBytes);
            else BlendBytes(out.row(y), design.row(y), layer.row(y), rowBytes, weight);
        }
    });
}

void BlendLayerReference(RasterView design, RasterView layer, int weight) {
    if (!SameSize(design, layer)) return;
    weight = std::clamp(weight, 0, 10);
    for (int y = 0; y < design.height; ++y) {
        for (int i = 0; i < design.width * 3; ++i) {
            const int l = layer.row(y)[i], d = design.row(y)[i];
            design.row(y)[i] = uint8_t((l * (10 - weight) + d * weight) / 10);
        }
    }
}

} // namespace zb
