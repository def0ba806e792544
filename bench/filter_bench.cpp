// Times the 14 convolution filters on design rasters at the sizes a user
// meets: an A4 printable page (4760 x 6779 printer pixels at 600 dpi) shown at
// 30 % and 100 % zoom on a 96 ppi screen, and the whole A4 sheet at 600 dpi.
#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <string>
#include <utility>

#include "imaging/FilterReference.h"
#include "imaging/FilterRunner.h"
#include "imaging/FilterTable.h"
#include "base/DibPicture.h"

namespace {

// One DIB per size, created on first use and kept for the whole run.
zb::RasterView Raster(int w, int h) {
    static std::map<std::pair<int, int>, zb::DibPicture> rasters;
    zb::DibPicture& picture = rasters[{w, h}];
    if (picture.empty()) {
        picture = zb::DibPicture(w, h, 24);
        if (picture.empty()) return {};
        const zb::TDibRecord& dib = picture.dib();
        uint32_t s = 12345;
        for (int64_t i = 0; i < int64_t(dib.BytesPerLine) * h; ++i) {
            s = s * 134775813u + 1u;
            dib.Bits[i] = uint8_t(s >> 24);
        }
    }
    return picture.view();
}

void BM_Filter(benchmark::State& state, int k, int w, int h, zb::FilterIsa isa, int bands) {
    const zb::RasterView view = Raster(w, h);
    if (view.empty()) {
        state.SkipWithError("no memory for the raster");
        return;
    }
    zb::FilterRunOptions options;
    options.isa = isa;
    options.bands = bands;
    for (auto _ : state) {
        if (!zb::ApplyFilterWith(view, zb::FilterTable[k], options)) state.SkipWithError("no working memory");
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * w * h * 3);
}

void BM_Reference(benchmark::State& state, int k, int w, int h) {
    const zb::RasterView view = Raster(w, h);
    for (auto _ : state) {
        if (!zb::ApplyFilterReference(view, zb::FilterTable[k])) state.SkipWithError("no working memory");
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * w * h * 3);
}

std::string Ascii(const char* name) {
    std::string out;
    for (const char* p = name; *p; ++p) {
        if (*p == ' ') out += '_';
        else if (std::strncmp(p, "\xC3\xA4", 2) == 0) out += "ae", ++p;
        else out += *p;
    }
    return out;
}

const char* IsaName(zb::FilterIsa isa) {
    switch (isa) {
    case zb::FilterIsa::Scalar: return "scalar";
    case zb::FilterIsa::Sse2: return "sse2";
    case zb::FilterIsa::Avx2: return "avx2";
    case zb::FilterIsa::Avx512: return "avx512";
    default: return "auto";
    }
}

int Register() {
    struct Size {
        int w, h;
    };
    const auto screen = [](int zoom) {
        return Size{int(4760.0 * 96 / 600 * zoom / 100), int(6779.0 * 96 / 600 * zoom / 100)};
    };
    const Size sizes[] = {screen(30), screen(100), {4960, 7016}};
    auto name = [](int k, Size s, zb::FilterIsa isa) {
        char index[8];
        std::snprintf(index, sizeof index, "%02d", k);
        return std::string("Filter/") + index + "_" + Ascii(zb::FilterTable[k].Name) + "/" + std::to_string(s.w) +
               "x" + std::to_string(s.h) + "/" + IsaName(isa);
    };
    for (const Size& s : sizes)
        for (int k = 0; k < zb::kFilterCount; ++k)
            benchmark::RegisterBenchmark(name(k, s, zb::FilterIsa::Automatic).c_str(), BM_Filter, k, s.w, s.h,
                                         zb::FilterIsa::Automatic, 0)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
    // Every instruction set at 600 dpi on one core: the CPU time is the whole
    // work, and shows what the automatic choice is worth.
    const Size a4 = sizes[2];
    for (zb::FilterIsa isa : {zb::FilterIsa::Sse2, zb::FilterIsa::Avx2, zb::FilterIsa::Avx512})
        if (zb::FilterIsaSupported(isa))
            for (int k = 0; k < zb::kFilterCount; ++k)
                benchmark::RegisterBenchmark((name(k, a4, isa) + "/1core").c_str(), BM_Filter, k, a4.w, a4.h, isa, 1)
                    ->Unit(benchmark::kMillisecond)
                    ->UseRealTime();
    // The plain loop once, for scale.
    benchmark::RegisterBenchmark("Reference/02_Stark_Weichzeichnen/4960x7016", BM_Reference, 2, a4.w, a4.h)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
    return 0;
}

const int registered = Register();

} // namespace

BENCHMARK_MAIN();
