// Whole compositions of five layers (gradient, texture, 2000-shape pattern,
// blur filter, text) as the design view and printing compose them.
#include <benchmark/benchmark.h>


#include "FiveLayerDesign.h"
#include "WordFontEngine.h"
#include "model/LayerStack.h"
#include "render/Compositor.h"
#include "render/DesignSize.h"

namespace {

using namespace zb;
using zb::bench::FiveLayers;

// args: target pixels per inch, zoom percent. The sheet is an A4 printable page
// of 4960 x 7016 pixels at 600 dpi.
void BM_FiveLayerComposition(benchmark::State& state) {
    const int ppi = int(state.range(0));
    const double zoom = double(state.range(1));
    Design design;
    FiveLayers(design);
    const RasterSize size = DesignRasterSize(design.Paper, PrintablePage{4960, 7016, 600}, ppi, zoom);
    Compositor compositor;
    if (!compositor.EnsureSize(size).empty()) {
        state.SkipWithError("no memory for the rasters");
        return;
    }
    bench::WordEngine fonts;
    RandomInt random(1);
    for (auto _ : state) {
        compositor.Compose(design, ppi, zoom, random, &fonts);
        benchmark::ClobberMemory();
    }
    state.counters["width"] = size.width;
    state.counters["height"] = size.height;
}
BENCHMARK(BM_FiveLayerComposition)
    ->Args({96, 30})
    ->Args({96, 100})
    ->Args({600, 100})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
