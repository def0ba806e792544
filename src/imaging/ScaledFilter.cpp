#include "imaging/ScaledFilter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include <emmintrin.h>

#include "base/ParallelRows.h"
#include "imaging/BoxAverageRow.h"
#include "imaging/FilterRowKernel.h"

namespace zb {

namespace {

uint32_t AverageMultiplier(int k) { return uint32_t(std::llround(double(1u << 24) / (double(k) * k))); }

inline uint8_t Average(uint32_t sum, uint32_t multiplier) { return uint8_t((sum * multiplier + (1u << 23)) >> 24); }

constexpr int64_t RoundUp(int64_t v, int64_t to) { return (v + to - 1) / to * to; }

using AlignedBytes = std::unique_ptr<uint8_t, decltype(&std::free)>;

AlignedBytes AllocateAligned(int64_t bytes) {
    return AlignedBytes(static_cast<uint8_t*>(std::aligned_alloc(64, size_t(RoundUp(std::max<int64_t>(bytes, 64), 64)))),
                        &std::free);
}

constexpr int kMaxBands = 64;

// Each band keeps the averaged rows its taps reach (y - 2k .. y + 2k) in a
// ring of bordered 16-bit rows in the raster's own order, 2k pixels of
// border on either side, and hands five of them to the plain filter's row
// kernels with the taps 3k values apart. The averages come from column sums
// that slide down one row at a time and running sums across each row, so a
// pixel costs the same at any k.
class ScaledFilterJob {
public:
    ScaledFilterJob(RasterView raster, const FilterEntry& filter, int k, const FilterKernelSet* kernels,
                    BoxAverageRowFn average, ColumnSlideFn slide)
        : raster_(raster), filter_(filter), k_(k), h_(k / 2), multiplier_(AverageMultiplier(k)),
          count_(raster.width * 3), tap_(3 * k), average_(average ? average : &ScalarBoxAverageRow), slide_(slide) {
        const int index = FilterTableIndex(filter);
        if (kernels && index >= 0 && count_ >= kernels->minCount) rowKernel_ = kernels->stridedRows[index];
        // The ring needs a slot for every row y - 2k .. y + 2k; a lower
        // raster has fewer distinct rows.
        ringRows_ = std::min(4 * k + 1, raster.height);
        // Value 6 of each row starts a 64-byte line, as the row kernels expect.
        slotValues_ = RoundUp(32 + count_ + 4 * int64_t(tap_) + 32, 32);
        paddedValues_ = BoxPrefixValues(raster.width, k);
    }

    // Allocates the working memory of each band; false when there is none.
    bool Prepare(int bandCount) {
        const int h = raster_.height;
        const int64_t rowBytes = count_;
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
            band.ring = AllocateAligned(int64_t(ringRows_) * slotValues_ * 2);
            band.scratch = AllocateAligned(5 * slotValues_ * 2);
            band.padded = AllocateAligned(int64_t(paddedValues_) * 2);
            band.prefix = AllocateAligned(int64_t(paddedValues_) * 4);
            if (!band.copies || !band.ring || !band.scratch || !band.padded || !band.prefix) return false;
            // The vector sums read a little past the padded columns; keep that defined.
            std::memset(band.padded.get(), 0, size_t(paddedValues_) * 2);
            uint8_t* dst = band.copies.get();
            for (int r = band.above0; r < band.y0; ++r, dst += rowBytes) std::memcpy(dst, raster_.row(r), size_t(rowBytes));
            for (int r = band.y1; r < band.below1; ++r, dst += rowBytes) std::memcpy(dst, raster_.row(r), size_t(rowBytes));
        }
        return true;
    }

    int BandCount() const { return int(bands_.size()); }

    void Run(int b) {
        Band& band = bands_[size_t(b)];
        const int h = raster_.height;
        const int first = std::max(0, band.y0 - 2 * k_);
        const int last = std::min(h - 1, band.y1 - 1 + 2 * k_);
        int next = first; // the next averaged row to compute
        StartColumnSums(band, first);

        FilterRowInput in{};
        int16_t* scratch = reinterpret_cast<int16_t*>(band.scratch.get());
        for (int s = 0; s < 5; ++s) in.scratch[s] = scratch + s * slotValues_ + 32 - 6;
        in.count = count_;
        in.tapStep = tap_;
        for (int y = band.y0; y < band.y1; ++y) {
            for (; next <= std::min(last, y + 2 * k_); ++next) {
                if (next > first) SlideColumnSums(band, next);
                AverageRow(band, next);
            }
            for (int t = 0; t < 5; ++t) in.rows[t] = RingRow(band, std::clamp(y + (t - 2) * k_, 0, h - 1));
            // Rows of this band above y are no longer read: the averages
            // still to come start below them.
            if (rowKernel_) rowKernel_(in, raster_.row(y));
            else ScalarFilterRow(in, filter_, raster_.row(y));
        }
    }

private:
    struct Band {
        int y0 = 0, y1 = 0;
        int above0 = 0, below1 = 0; // copied original rows: [above0, y0) and [y1, below1)
        AlignedBytes copies{nullptr, &std::free};
        AlignedBytes ring{nullptr, &std::free};
        AlignedBytes scratch{nullptr, &std::free};
        AlignedBytes padded{nullptr, &std::free}; // column sums, edge columns repeated
        AlignedBytes prefix{nullptr, &std::free};
        };

    // The original row r (clamped): the band's own rows are unchanged while
    // they are read, the others come from the copies.
    const uint8_t* SourceRow(const Band& band, int r) const {
        r = std::clamp(r, 0, raster_.height - 1);
        if (r >= band.y0 && r < band.y1) return raster_.row(r);
        if (r < band.y0) return band.copies.get() + int64_t(r - band.above0) * count_;
        return band.copies.get() + (int64_t(band.y0 - band.above0) + (r - band.y1)) * count_;
    }

    // Bordered averaged row r: value j is byte j - 6k of the row.
    int16_t* RingRow(const Band& band, int r) const {
        return reinterpret_cast<int16_t*>(band.ring.get()) + int64_t(r % ringRows_) * slotValues_ + 32 - 6;
    }

    // The raster's column 0 among the padded column sums.
    uint16_t* ColumnSums(const Band& band) const { return reinterpret_cast<uint16_t*>(band.padded.get()) + 3 * h_; }

    // Column sums of the k rows r - h .. r - h + k - 1.
    void StartColumnSums(Band& band, int r) {
        uint16_t* sums = ColumnSums(band);
        std::fill(sums, sums + count_, uint16_t(0));
        for (int j = 0; j < k_; ++j) {
            const uint8_t* row = SourceRow(band, r - h_ + j);
            for (int i = 0; i < count_; ++i) sums[i] = uint16_t(sums[i] + row[i]);
        }
    }

    // From the sums of row r - 1 to those of row r.
    void SlideColumnSums(Band& band, int r) {
        uint16_t* sums = ColumnSums(band);
        const uint8_t* add = SourceRow(band, r - h_ + k_ - 1);
        const uint8_t* remove = SourceRow(band, r - 1 - h_);
        const int n = count_;
        if (slide_) {
            slide_(sums, add, remove, n);
            return;
        }
        int i = 0;
        // Sixteen channels at a time; 16-bit arithmetic wraps, and the sums
        // it ends with are exact.
        const __m128i zero = _mm_setzero_si128();
        for (; i + 16 <= n; i += 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(add + i));
            const __m128i r = _mm_loadu_si128(reinterpret_cast<const __m128i*>(remove + i));
            const __m128i lo = _mm_sub_epi16(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(r, zero));
            const __m128i hi = _mm_sub_epi16(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(r, zero));
            __m128i* s = reinterpret_cast<__m128i*>(sums + i);
            _mm_storeu_si128(s + 0, _mm_add_epi16(_mm_loadu_si128(s + 0), lo));
            _mm_storeu_si128(s + 1, _mm_add_epi16(_mm_loadu_si128(s + 1), hi));
        }
        for (; i < n; ++i) sums[i] = uint16_t(sums[i] + add[i] - remove[i]);
    }

    // The averaged row r from the column sums, into its ring slot, bordered
    // with its first and last pixel 2k times.
    void AverageRow(Band& band, int r) {
        uint16_t* padded = reinterpret_cast<uint16_t*>(band.padded.get());
        const int w = raster_.width;
        // The boxes of the edge pixels reach past the raster: repeat its edge columns.
        for (int x = 0; x < h_; ++x)
            for (int c = 0; c < 3; ++c) padded[3 * x + c] = padded[3 * h_ + c];
        const uint16_t* lastColumn = padded + 3 * (h_ + w - 1);
        for (int x = h_ + w; x < w + k_ - 1; ++x)
            for (int c = 0; c < 3; ++c) padded[3 * x + c] = lastColumn[c];
        int16_t* row = RingRow(band, r);
        average_(padded, w, k_, multiplier_, reinterpret_cast<uint32_t*>(band.prefix.get()), row + 2 * tap_);
        const int16_t* firstPixel = row + 2 * tap_;
        const int16_t* lastPixel = row + 2 * tap_ + count_ - 3;
        int16_t* right = row + 2 * tap_ + count_;
        for (int i = 0; i < 2 * tap_; ++i) {
            row[i] = firstPixel[i % 3];
            right[i] = lastPixel[i % 3];
        }
    }

    RasterView raster_;
    const FilterEntry& filter_;
    int k_, h_;
    uint32_t multiplier_;
    int count_;  // values of a raster row: 3 x width
    int tap_;    // values from one tap column to the next: 3k
    BoxAverageRowFn average_;
    ColumnSlideFn slide_; // nullptr: the SSE2 loop
    FilterRowKernel rowKernel_ = nullptr;
    int ringRows_ = 1;
    int64_t slotValues_ = 0;  // 16-bit values per ring or scratch slot
    int paddedValues_ = 0;    // values of the padded column sums (16-bit) and of the running sums (32-bit)
    std::vector<Band> bands_;
};

} // namespace

void ScalarBoxAverageRow(const uint16_t* padded, int width, int k, uint32_t multiplier, uint32_t* prefix,
                         int16_t* out) {
    // Running sums per channel (wrapping; their differences are the box sums).
    const int n = 3 * (width + k - 1);
    prefix[0] = prefix[1] = prefix[2] = 0;
    for (int v = 0; v < n; ++v) prefix[v + 3] = prefix[v] + padded[v];
    const int tap = 3 * k;
    for (int v = 0; v < 3 * width; ++v) out[v] = Average(prefix[v + tap] - prefix[v], multiplier);
}

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

    // The vector averages go with the vector filter kernels, so that the
    // scalar choice tests the plain loops throughout.
    const FilterKernelSet* kernels = FilterKernelsFor(options.isa);
    const bool wide = options.isa == FilterIsa::Automatic || options.isa == FilterIsa::Avx2 ||
                      options.isa == FilterIsa::Avx512;
    ScaledFilterJob job(raster, filter, k, kernels, wide ? Avx2BoxAverageRow() : nullptr,
                        wide ? Avx2SlideColumnSums() : nullptr);
    const int64_t rasterBytes = int64_t(raster.width) * 3 * raster.height;
    int bands = options.bands > 0 ? options.bands : (rasterBytes >= kParallelMinBytes ? ParallelThreadCount() : 1);
    bands = std::clamp(bands, 1, std::min(raster.height, kMaxBands));
    try {
        if (!job.Prepare(bands)) return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    // Nothing is written before this point, so a failure above leaves the raster as it was.
    ParallelRows(bands, bands > 1 ? rasterBytes : 0, [&job](int b0, int b1) {
        for (int b = b0; b < b1; ++b) job.Run(b);
    });
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
