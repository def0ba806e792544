#include "imaging/ScaledFilter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <system_error>
#include <vector>

#include <emmintrin.h>

#include "base/ParallelRows.h"
#include "imaging/FilterRowKernel.h"

namespace zb {

namespace {

uint32_t AverageMultiplier(int k) { return uint32_t(std::llround(double(1u << 24) / (double(k) * k))); }

inline uint8_t Average(uint32_t sum, uint32_t multiplier) { return uint8_t((sum * multiplier + (1u << 23)) >> 24); }

constexpr int64_t RoundUp(int64_t v, int64_t to) { return (v + to - 1) / to * to; }

// The averaged rows are kept phase by phase: phase r holds the pixels
// x = r, r + k, r + 2k, ... side by side, bordered like the rows of the plain
// filter (the first pixel of the raster twice on the left, the last twice on
// the right). Taps k pixels apart are then neighbours, and the plain
// filter's row kernels run on each phase unchanged.
struct PhaseLayout {
    int k = 1;
    std::vector<int> base;     // index of the phase's first value; a multiple of 32 (64 bytes)
    std::vector<int> count;    // 3 x pixels of the phase
    std::vector<int> offsetOf; // index of pixel x's first value
    int rowValues = 0;
    int maxCount = 0;

    PhaseLayout(int width, int scale) : k(scale), base(size_t(scale)), count(size_t(scale)), offsetOf(size_t(width)) {
        int next = 32;
        for (int r = 0; r < k; ++r) {
            const int n = r < width ? (width - 1 - r) / k + 1 : 0;
            base[size_t(r)] = next;
            count[size_t(r)] = 3 * n;
            maxCount = std::max(maxCount, 3 * n);
            next = int(RoundUp(next + 3 * n + 12, 32));
        }
        rowValues = next + 32;
        for (int x = 0; x < width; ++x) offsetOf[size_t(x)] = base[size_t(x % k)] + 3 * (x / k);
    }
};

using AlignedBytes = std::unique_ptr<uint8_t, decltype(&std::free)>;

AlignedBytes AllocateAligned(int64_t bytes) {
    return AlignedBytes(static_cast<uint8_t*>(std::aligned_alloc(64, size_t(RoundUp(std::max<int64_t>(bytes, 64), 64)))),
                        &std::free);
}

constexpr int kMaxBands = 64;

class ScaledFilterJob {
public:
    ScaledFilterJob(RasterView raster, const FilterEntry& filter, int k, const FilterKernelSet* kernels)
        : raster_(raster), filter_(filter), k_(k), h_(k / 2), multiplier_(AverageMultiplier(k)),
          layout_(raster.width, k) {
        const int index = FilterTableIndex(filter);
        if (kernels && index >= 0) {
            rowKernel_ = kernels->rows[index];
            minCount_ = kernels->minCount;
        }
        ringRows_ = 4 * k + 1;
        phaseColumns_ = (raster.width + 5 * k - 1) / k;
        phasePlace_.resize(size_t(raster.width) + 4 * size_t(k));
        for (size_t u = 0; u < phasePlace_.size(); ++u)
            phasePlace_[u] = int(u % size_t(k)) * 3 * phaseColumns_ + 3 * int(u / size_t(k));
    }

    // Allocates the working memory of each band; false when there is none.
    bool Prepare(int bandCount) {
        const int h = raster_.height;
        const int64_t rowBytes = int64_t(raster_.width) * 3;
        bands_.resize(size_t(bandCount));
        for (int b = 0; b < bandCount; ++b) {
            Band& band = bands_[size_t(b)];
            band.y0 = int(int64_t(h) * b / bandCount);
            band.y1 = int(int64_t(h) * (b + 1) / bandCount);
            // The original rows this band reads that neighbouring bands overwrite.
            band.above0 = std::max(0, band.y0 - 2 * k_ - h_);
            band.below1 = std::min(h, band.y1 + 3 * k_);
            const int copies = (band.y0 - band.above0) + (band.below1 - band.y1);
            band.copies = AllocateAligned(int64_t(copies) * rowBytes);
            band.ring = AllocateAligned(int64_t(ringRows_) * layout_.rowValues * 2);
            band.columnSums = AllocateAligned(rowBytes * 4);
            band.scratch = AllocateAligned(5 * int64_t(layout_.maxCount + 64) * 2);
            band.out = AllocateAligned(layout_.maxCount);
            band.phaseSums = AllocateAligned((int64_t(k_) * 3 * phaseColumns_ + 16) * 4);
            band.boxSums = AllocateAligned((int64_t(layout_.maxCount) + 8) * 4);
            if (!band.copies || !band.ring || !band.columnSums || !band.scratch || !band.out || !band.phaseSums ||
                !band.boxSums)
                return false;
            uint8_t* dst = band.copies.get();
            for (int r = band.above0; r < band.y0; ++r, dst += rowBytes) std::memcpy(dst, raster_.row(r), size_t(rowBytes));
            for (int r = band.y1; r < band.below1; ++r, dst += rowBytes) std::memcpy(dst, raster_.row(r), size_t(rowBytes));
        }
        return true;
    }

    int BandCount() const { return int(bands_.size()); }
    bool Done(int b) const { return bands_[size_t(b)].done; }

    void Run(int b) {
        Band& band = bands_[size_t(b)];
        const int h = raster_.height;
        const int first = std::max(0, band.y0 - 2 * k_);
        const int last = std::min(h - 1, band.y1 - 1 + 2 * k_);
        int next = first; // the next averaged row to compute
        StartColumnSums(band, first);

        FilterRowInput in{};
        int16_t* scratch = reinterpret_cast<int16_t*>(band.scratch.get());
        const int scratchValues = int(RoundUp(layout_.maxCount + 64, 32));
        for (int s = 0; s < 5; ++s) in.scratch[s] = scratch + int64_t(s) * scratchValues + 32 - 6;
        for (int y = band.y0; y < band.y1; ++y) {
            for (; next <= std::min(last, y + 2 * k_); ++next) {
                if (next > first) SlideColumnSums(band, next);
                AverageRow(band, next);
            }
            const int16_t* rows[5];
            for (int t = 0; t < 5; ++t) rows[t] = RingRow(band, std::clamp(y + (t - 2) * k_, 0, h - 1));
            uint8_t* target = raster_.row(y);
            for (int r = 0; r < k_; ++r) {
                const int count = layout_.count[size_t(r)];
                if (count == 0) continue;
                const int start = layout_.base[size_t(r)] - 6;
                for (int t = 0; t < 5; ++t) in.rows[t] = rows[t] + start;
                in.count = count;
                if (rowKernel_ && count >= minCount_) rowKernel_(in, band.out.get());
                else ScalarFilterRow(in, filter_, band.out.get());
                const uint8_t* o = band.out.get();
                uint8_t* p = target + 3 * r;
                const int step = 3 * k_;
                for (int i = 0; i < count; i += 3, p += step) {
                    p[0] = o[i];
                    p[1] = o[i + 1];
                    p[2] = o[i + 2];
                }
            }
        }
        band.done = true;
    }

private:
    struct Band {
        int y0 = 0, y1 = 0;
        int above0 = 0, below1 = 0; // copied original rows: [above0, y0) and [y1, below1)
        AlignedBytes copies{nullptr, &std::free};
        AlignedBytes ring{nullptr, &std::free};
        AlignedBytes columnSums{nullptr, &std::free};
        AlignedBytes scratch{nullptr, &std::free};
        AlignedBytes out{nullptr, &std::free};
        AlignedBytes phaseSums{nullptr, &std::free};
        AlignedBytes boxSums{nullptr, &std::free};
        bool done = false;
    };

    // The original row r (clamped): the band's own rows are unchanged while
    // they are read, the others come from the copies.
    const uint8_t* SourceRow(const Band& band, int r) const {
        r = std::clamp(r, 0, raster_.height - 1);
        if (r >= band.y0 && r < band.y1) return raster_.row(r);
        const int64_t rowBytes = int64_t(raster_.width) * 3;
        if (r < band.y0) return band.copies.get() + int64_t(r - band.above0) * rowBytes;
        return band.copies.get() + (int64_t(band.y0 - band.above0) + (r - band.y1)) * rowBytes;
    }

    int16_t* RingRow(const Band& band, int r) const {
        return reinterpret_cast<int16_t*>(band.ring.get()) + int64_t(r % ringRows_) * layout_.rowValues;
    }

    // Column sums of the k rows r - h .. r - h + k - 1.
    void StartColumnSums(Band& band, int r) {
        uint32_t* sums = reinterpret_cast<uint32_t*>(band.columnSums.get());
        const int n = raster_.width * 3;
        std::fill(sums, sums + n, 0u);
        for (int j = 0; j < k_; ++j) {
            const uint8_t* row = SourceRow(band, r - h_ + j);
            for (int i = 0; i < n; ++i) sums[i] += row[i];
        }
    }

    // From the sums of row r - 1 to those of row r.
    void SlideColumnSums(Band& band, int r) {
        uint32_t* sums = reinterpret_cast<uint32_t*>(band.columnSums.get());
        const uint8_t* add = SourceRow(band, r - h_ + k_ - 1);
        const uint8_t* remove = SourceRow(band, r - 1 - h_);
        const int n = raster_.width * 3;
        int i = 0;
        // Sixteen channels at a time: the difference of two bytes fits 16
        // bits, widened with its sign and added to the 32-bit sums.
        const __m128i zero = _mm_setzero_si128();
        for (; i + 16 <= n; i += 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(add + i));
            const __m128i r = _mm_loadu_si128(reinterpret_cast<const __m128i*>(remove + i));
            const __m128i lo = _mm_sub_epi16(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(r, zero));
            const __m128i hi = _mm_sub_epi16(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(r, zero));
            const __m128i signLo = _mm_srai_epi16(lo, 15), signHi = _mm_srai_epi16(hi, 15);
            __m128i* s = reinterpret_cast<__m128i*>(sums + i);
            _mm_storeu_si128(s + 0, _mm_add_epi32(_mm_loadu_si128(s + 0), _mm_unpacklo_epi16(lo, signLo)));
            _mm_storeu_si128(s + 1, _mm_add_epi32(_mm_loadu_si128(s + 1), _mm_unpackhi_epi16(lo, signLo)));
            _mm_storeu_si128(s + 2, _mm_add_epi32(_mm_loadu_si128(s + 2), _mm_unpacklo_epi16(hi, signHi)));
            _mm_storeu_si128(s + 3, _mm_add_epi32(_mm_loadu_si128(s + 3), _mm_unpackhi_epi16(hi, signHi)));
        }
        for (; i < n; ++i) sums[i] += uint32_t(add[i]) - uint32_t(remove[i]);
    }

    // The averaged row r from the column sums, into its ring slot, phase by phase.
    //
    // The column sums are first laid out phase by phase as well (columns
    // -k .. w + 3k - 1, edges repeated): the box sums of one phase are then
    // k neighbouring slices added up, and those of the next phase follow by
    // adding one slice and taking one away, sixteen bytes at a time.
    void AverageRow(Band& band, int r) {
        const uint32_t* sums = reinterpret_cast<const uint32_t*>(band.columnSums.get());
        uint32_t* phases = reinterpret_cast<uint32_t*>(band.phaseSums.get());
        uint32_t* box = reinterpret_cast<uint32_t*>(band.boxSums.get());
        int16_t* dst = RingRow(band, r);
        const int w = raster_.width;
        const int stride = 3 * phaseColumns_; // values per phase
        const int* place = phasePlace_.data();
        for (int u = 0; u < w + 4 * k_; ++u) {
            const uint32_t* src = sums + 3 * std::clamp(u - k_, 0, w - 1);
            uint32_t* d = phases + place[u];
            d[0] = src[0];
            d[1] = src[1];
            d[2] = src[2];
        }
        // Padded column u = x + k of phase u mod k, at pixel u div k of it.
        auto slice = [&](int u) { return phases + (u % k_) * stride + 3 * (u / k_); };
        const int n = layout_.count[0]; // values of the longest phase
        const int vectors = (n + 3) / 4;
        // Phase 0: pixel i is x = i k, its box the padded columns (i + 1) k - h + t.
        std::fill(box, box + 4 * vectors, 0u);
        for (int t = 0; t < k_; ++t) {
            const uint32_t* c = slice(k_ - h_ + t);
            for (int v = 0; v < vectors; ++v) {
                __m128i* b = reinterpret_cast<__m128i*>(box) + v;
                _mm_storeu_si128(b, _mm_add_epi32(_mm_loadu_si128(b),
                                                  _mm_loadu_si128(reinterpret_cast<const __m128i*>(c) + v)));
            }
        }
        const __m128i multiplier = _mm_set1_epi32(int32_t(multiplier_));
        const __m128i half = _mm_set1_epi64x(int64_t(1) << 23);
        for (int p = 0;; ++p) {
            const int count = layout_.count[size_t(p)];
            int16_t* out = dst + layout_.base[size_t(p)];
            // (s * M + 2^23) >> 24 in 64-bit lanes, even and odd lanes apart.
            for (int v = 0; v < vectors; ++v) {
                const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(box) + v);
                const __m128i even = _mm_srli_epi64(_mm_add_epi64(_mm_mul_epu32(s, multiplier), half), 24);
                const __m128i odd = _mm_srli_epi64(
                    _mm_add_epi64(_mm_mul_epu32(_mm_srli_epi64(s, 32), multiplier), half), 24);
                const __m128i a = _mm_or_si128(even, _mm_slli_epi64(odd, 32));
                // Up to three values beyond the phase land in its right
                // border, which is written afterwards.
                _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 4 * v), _mm_packs_epi32(a, a));
            }
            (void)count;
            if (p + 1 == k_ || layout_.count[size_t(p + 1)] == 0) break;
            // Phase p + 1: one column enters at the right of every box, one leaves at the left.
            const uint32_t* enter = slice(p + 2 * k_ - h_);
            const uint32_t* leave = slice(p + k_ - h_);
            for (int v = 0; v < vectors; ++v) {
                __m128i* b = reinterpret_cast<__m128i*>(box) + v;
                const __m128i e = _mm_loadu_si128(reinterpret_cast<const __m128i*>(enter) + v);
                const __m128i l = _mm_loadu_si128(reinterpret_cast<const __m128i*>(leave) + v);
                _mm_storeu_si128(b, _mm_sub_epi32(_mm_add_epi32(_mm_loadu_si128(b), e), l));
            }
        }
        const int* offset = layout_.offsetOf.data();
        // Borders of every phase: the raster's first and last pixel, twice.
        const int16_t* firstPixel = dst + offset[0];
        const int16_t* lastPixel = dst + offset[w - 1];
        for (int p = 0; p < k_; ++p) {
            const int count = layout_.count[size_t(p)];
            if (count == 0) continue;
            int16_t* row = dst + layout_.base[size_t(p)];
            for (int i = 0; i < 6; ++i) {
                row[i - 6] = firstPixel[i % 3];
                row[count + i] = lastPixel[i % 3];
            }
        }
    }

    RasterView raster_;
    const FilterEntry& filter_;
    int k_, h_;
    uint32_t multiplier_;
    PhaseLayout layout_;
    FilterRowKernel rowKernel_ = nullptr;
    int minCount_ = 0;
    int ringRows_ = 1;
    int phaseColumns_ = 0; // pixels per phase of the column sums, borders included
    std::vector<int> phasePlace_; // where padded column u goes among the phases
    std::vector<Band> bands_;
};

} // namespace

int FilterScaleStep(double scale) {
    if (!(scale >= 1.5)) return 1; // NaN and everything that rounds to 1 or less
    if (scale >= kMaxFilterScale) return kMaxFilterScale;
    return int(std::lround(scale));
}

bool ApplyScaledFilter(RasterView raster, const FilterEntry& filter, int k, const FilterRunOptions& options) {
    k = std::clamp(k, 1, kMaxFilterScale);
    if (k == 1) return ApplyFilterWith(raster, filter, options);
    if (raster.empty()) return true;
    if (int64_t(raster.width) * 3 + 64 > INT32_MAX / 4) return false;

    ScaledFilterJob job(raster, filter, k, FilterKernelsFor(options.isa));
    const int64_t rasterBytes = int64_t(raster.width) * 3 * raster.height;
    int bands = options.bands > 0 ? options.bands : (rasterBytes >= kParallelMinBytes ? ParallelThreadCount() : 1);
    bands = std::clamp(bands, 1, std::min(raster.height, kMaxBands));
    try {
        if (!job.Prepare(bands)) return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    // Nothing is written before this point, so a failure above leaves the raster as it was.
    try {
        ParallelRows(bands, bands > 1 ? rasterBytes : 0, [&job](int b0, int b1) {
            for (int b = b0; b < b1; ++b) job.Run(b);
        });
    } catch (const std::system_error&) {
        for (int b = 0; b < job.BandCount(); ++b)
            if (!job.Done(b)) job.Run(b);
    }
    return true;
}

bool ApplyScaledFilterReference(RasterView raster, const FilterEntry& filter, int k) {
    if (raster.empty()) return true;
    k = std::clamp(k, 1, kMaxFilterScale);
    const int w = raster.width, hgt = raster.height, h = k / 2;
    const uint32_t m = AverageMultiplier(k);
    std::vector<uint8_t> original, averaged;
    try {
        original.resize(size_t(w) * hgt * 3);
        averaged.resize(size_t(w) * hgt * 3);
    } catch (const std::bad_alloc&) {
        return false;
    }
    auto at = [&](std::vector<uint8_t>& v, int x, int y) {
        return &v[(size_t(std::clamp(y, 0, hgt - 1)) * w + size_t(std::clamp(x, 0, w - 1))) * 3];
    };
    for (int y = 0; y < hgt; ++y) std::memcpy(at(original, 0, y), raster.row(y), size_t(w) * 3);
    for (int y = 0; y < hgt; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                uint32_t sum = 0;
                for (int j = 0; j < k; ++j)
                    for (int i = 0; i < k; ++i) sum += at(original, x - h + i, y - h + j)[c];
                at(averaged, x, y)[c] = Average(sum, m);
            }
    const int64_t divisor = filter.Divisor == 0 ? 1 : filter.Divisor;
    for (int y = 0; y < hgt; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                uint32_t sum = 0; // 32-bit and wrapping, like the plain filter
                for (int a = 0; a < 5; ++a)
                    for (int b = 0; b < 5; ++b)
                        sum += uint32_t(filter.Weights[5 * a + b]) *
                               at(averaged, x + (a - 2) * k, y + (b - 2) * k)[c];
                const int64_t v = int64_t(int32_t(sum)) / divisor + filter.Bias;
                raster.pixel(x, y)[c] = uint8_t(std::clamp<int64_t>(v, 0, 255));
            }
    return true;
}

} // namespace zb
