#include "imaging/FilterRunner.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "imaging/FilterDefinitions.h"
#include "imaging/FilterRowKernel.h"
#include "base/ParallelRows.h"

namespace zb {

void ScalarWidenRow(const uint8_t* source, int count, int16_t* bordered) {
    for (int i = 0; i < count; ++i) bordered[6 + i] = source[i];
    for (int k = 0; k < 6; ++k) {
        bordered[k] = source[k % 3];
        bordered[count + 6 + k] = source[count - 3 + k % 3];
    }
}

void ScalarFilterRow(const FilterRowInput& in, const FilterEntry& filter, uint8_t* out) {
    struct Tap {
        const int16_t* p;
        uint32_t w;
    };
    Tap taps[25];
    int tapCount = 0;
    for (int a = 0; a < 5; ++a)
        for (int b = 0; b < 5; ++b)
            if (const int32_t w = filter.Weights[5 * a + b]) taps[tapCount++] = {in.rows[b] + in.tapStep * a, uint32_t(w)};
    const int64_t divisor = filter.Divisor == 0 ? 1 : filter.Divisor;
    for (int i = 0; i < in.count; ++i) {
        uint32_t sum = 0; // 32-bit and wrapping, like the plain algorithm
        for (int t = 0; t < tapCount; ++t) sum += taps[t].w * uint32_t(taps[t].p[i]);
        const int64_t v = int64_t(int32_t(sum)) / divisor + filter.Bias;
        out[i] = uint8_t(std::clamp<int64_t>(v, 0, 255));
    }
}

bool FilterIsaSupported(FilterIsa isa) {
    switch (isa) {
    case FilterIsa::Automatic:
    case FilterIsa::Scalar:
    case FilterIsa::Sse2: return true;
    case FilterIsa::Avx2: return Avx2FilterKernels() != nullptr;
    case FilterIsa::Avx512: return Avx512FilterKernels() != nullptr;
    }
    return false;
}

FilterIsa BestFilterIsa() {
    // Wider is faster here: the kernels are bound by arithmetic, not memory
    // (figures in bench/README.md).
    if (Avx512FilterKernels()) return FilterIsa::Avx512;
    if (Avx2FilterKernels()) return FilterIsa::Avx2;
    return FilterIsa::Sse2;
}

namespace {

const FilterKernelSet* KernelsFor(FilterIsa isa) {
    if (isa == FilterIsa::Automatic || !FilterIsaSupported(isa)) isa = BestFilterIsa();
    switch (isa) {
    case FilterIsa::Sse2: return Sse2FilterKernels();
    case FilterIsa::Avx2: return Avx2FilterKernels();
    case FilterIsa::Avx512: return Avx512FilterKernels();
    default: return nullptr;
    }
}

// Index of the table entry with exactly these numbers, or -1. Compared by
// value, so copies of an entry take the fast kernels too.
int TableIndexOf(const FilterEntry& f) {
    for (int k = 0; k < kFilterCount; ++k) {
        const FilterEntry& e = filterdef::kEntries[k];
        if (e.Divisor == f.Divisor && e.Bias == f.Bias &&
            std::memcmp(e.Weights, f.Weights, sizeof e.Weights) == 0)
            return k;
    }
    return -1;
}

} // namespace

const FilterKernelSet* FilterKernelsFor(FilterIsa isa) {
    return isa == FilterIsa::Scalar ? nullptr : KernelsFor(isa);
}

int FilterTableIndex(const FilterEntry& filter) { return TableIndexOf(filter); }

namespace {

constexpr int64_t RoundUp(int64_t v, int64_t to) { return (v + to - 1) / to * to; }

// One band of rows [y0, y1), filtered in place with a ring of five bordered
// rows. The rows just outside the band belong to neighbouring bands, which
// may already have overwritten them, so their originals are kept in `edge`,
// copied before any band starts.
struct Band {
    int y0 = 0, y1 = 0;
    int edgeRow[4] = {-1, -1, -1, -1};
    uint8_t* edge[4] = {};
    uint8_t* slots = nullptr; // 5 bordered rows, then 5 rows of working values for the kernel
};

// More bands than this gain nothing on any desktop processor.
constexpr int kMaxBands = 64;

class FilterJob {
public:
    FilterJob(RasterView raster, const FilterEntry& filter, const FilterKernelSet* kernels, int tableIndex)
        : raster_(raster), filter_(filter), count_(raster.width * 3) {
        if (kernels && tableIndex >= 0 && count_ >= kernels->minCount) {
            rowKernel_ = kernels->rows[tableIndex];
            widen_ = kernels->widen;
        }
        // Each slot holds count + 12 values placed so that value 6 (the first
        // pixel) starts a 64-byte line: whole-vector stores then never straddle
        // two lines.
        slotBytes_ = RoundUp((int64_t(count_) + 12) * int64_t(sizeof(int16_t)) + 64, 64);
        edgeBytes_ = RoundUp(count_, 64);
    }

    int64_t BytesPerBand() const { return 10 * slotBytes_ + 4 * edgeBytes_; }

    // Lays out the bands in `memory` and keeps the rows along their seams.
    void Prepare(int bandCount, uint8_t* memory) {
        const int h = raster_.height;
        bandCount_ = bandCount;
        for (int b = 0; b < bandCount; ++b) {
            Band& band = bands_[size_t(b)];
            band.y0 = int(int64_t(h) * b / bandCount);
            band.y1 = int(int64_t(h) * (b + 1) / bandCount);
            band.slots = memory;
            memory += 10 * slotBytes_;
            const int outside[4] = {band.y0 - 2, band.y0 - 1, band.y1, band.y1 + 1};
            for (int k = 0; k < 4; ++k) {
                band.edge[k] = memory;
                memory += edgeBytes_;
                const int r = std::clamp(outside[k], 0, h - 1);
                if (r >= band.y0 && r < band.y1) continue;
                band.edgeRow[k] = r;
                std::memcpy(band.edge[k], raster_.row(r), size_t(count_));
            }
        }
    }

    int BandCount() const { return bandCount_; }

    void Run(int b) {
        Band& band = bands_[size_t(b)];
        auto slot = [&](int r) { return Slot(band, (r - band.y0 + 2) % 5); };
        auto load = [&](int r) {
            const uint8_t* source = SourceRow(band, r);
            if (widen_) widen_(source, count_, slot(r));
            else ScalarWidenRow(source, count_, slot(r));
        };
        for (int r = band.y0 - 2; r < band.y0 + 2; ++r) load(r);
        FilterRowInput in{};
        for (int k = 0; k < 5; ++k) in.scratch[k] = Slot(band, 5 + k);
        in.count = count_;
        for (int y = band.y0; y < band.y1; ++y) {
            load(y + 2); // overwrites the slot of row y - 3, no longer needed
            for (int k = 0; k < 5; ++k) in.rows[k] = slot(y - 2 + k);
            if (rowKernel_) rowKernel_(in, raster_.row(y));
            else ScalarFilterRow(in, filter_, raster_.row(y));
        }
    }

private:
    int16_t* Slot(const Band& band, int k) const {
        return reinterpret_cast<int16_t*>(band.slots + k * slotBytes_ + 64 - 6 * int64_t(sizeof(int16_t)));
    }

    // The original row r (clamped to the raster): rows of the band itself
    // are still unchanged when they are read, the others come from the copies.
    const uint8_t* SourceRow(const Band& band, int r) const {
        r = std::clamp(r, 0, raster_.height - 1);
        if (r >= band.y0 && r < band.y1) return raster_.row(r);
        for (int k = 0; k < 4; ++k)
            if (band.edgeRow[k] == r) return band.edge[k];
        return raster_.row(r); // not reached: every outside row has a copy
    }

    RasterView raster_;
    const FilterEntry& filter_;
    int count_;
    FilterRowKernel rowKernel_ = nullptr;
    FilterWidenKernel widen_ = nullptr;
    int64_t slotBytes_ = 0;
    int64_t edgeBytes_ = 0;
    std::array<Band, kMaxBands> bands_{};
    int bandCount_ = 0;
};

} // namespace

bool ApplyFilterWith(RasterView raster, const FilterEntry& filter, const FilterRunOptions& options) {
    if (raster.empty()) return true;
    // Row arithmetic is in int; a row this long could not be held anyway.
    if (int64_t(raster.width) * 3 + 64 > INT_MAX) return false;

    const FilterKernelSet* kernels = options.isa == FilterIsa::Scalar ? nullptr : KernelsFor(options.isa);
    FilterJob job(raster, filter, kernels, TableIndexOf(filter));

    const int64_t rasterBytes = int64_t(raster.width) * 3 * raster.height;
    int bands = options.bands > 0 ? options.bands
                                  : (rasterBytes >= kParallelMinBytes ? ParallelThreadCount() : 1);
    bands = std::clamp(bands, 1, std::min(raster.height, kMaxBands));

    const int64_t workBytes = job.BytesPerBand() * bands;
    if (options.workBytesLimit > 0 && workBytes > options.workBytesLimit) return false;
    // Rows start on 64-byte lines (workBytes is a multiple of 64).
    std::unique_ptr<uint8_t, decltype(&std::free)> memory(
        static_cast<uint8_t*>(std::aligned_alloc(64, size_t(workBytes))), &std::free);
    if (!memory) return false;

    // Nothing is written before this point, so a failure above leaves the raster as it was.
    job.Prepare(bands, memory.get());
    ParallelRows(bands, bands > 1 ? rasterBytes : 0, [&job](int b0, int b1) {
        for (int b = b0; b < b1; ++b) job.Run(b);
    });
    return true;
}

} // namespace zb
