// The filter of a printed or exported sheet at the preview's scale against the
// plain filter, on the whole A4 sheet at 600 dpi (4960 x 7016): k = 20 is a
// 30 % preview on a 96 ppi screen (600 / 28.8 = 20.8 rounds to 21; 20 is
// timed as the round figure), k = 6 a 100 % preview.
#include <benchmark/benchmark.h>

#include "base/DibPicture.h"
#include "imaging/FilterRunner.h"
#include "imaging/FilterTable.h"
#include "imaging/ScaledFilter.h"

namespace {

zb::RasterView Sheet() {
    static zb::DibPicture picture;
    if (picture.empty()) {
        picture = zb::DibPicture(4960, 7016, 24);
        if (picture.empty()) return {};
        const zb::TDibRecord& dib = picture.dib();
        uint32_t s = 12345; // fixed seed: the same bytes every run
        for (int64_t i = 0; i < int64_t(dib.BytesPerLine) * 7016; ++i) {
            s = s * 134775813u + 1u;
            dib.Bits[i] = uint8_t(s >> 24);
        }
    }
    return picture.view();
}

void BM_ScaledFilter(benchmark::State& state) {
    const int filter = int(state.range(0));
    const int k = int(state.range(1));
    zb::FilterRunOptions options;
    options.bands = int(state.range(2)); // 0: one band per core, 1: one band on one thread
    const zb::RasterView view = Sheet();
    if (view.empty()) {
        state.SkipWithError("no memory for the sheet");
        return;
    }
    for (auto _ : state) {
        if (!zb::ApplyScaledFilter(view, zb::FilterTable[filter], k, options)) state.SkipWithError("no working memory");
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * view.width * view.height * 3);
}

} // namespace

// Arguments: filter index (0 "Weichzeichnen", 2 "Stark Weichzeichnen",
// 6 "Lithograph"), scale k (1 is the plain filter), row bands (0: automatic,
// one per core; 1: one thread, whose CPU time is the whole cost).
BENCHMARK(BM_ScaledFilter)
    ->ArgsProduct({{0, 2, 6}, {1, 6, 20}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
