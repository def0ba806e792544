// Whole compositions of five layers (gradient, texture, 2000-shape pattern,
// blur filter, text) as the design view and printing compose them.
#include <benchmark/benchmark.h>

#include <random>

#include "WordFontEngine.h"
#include "model/LayerStack.h"
#include "render/Compositor.h"
#include "render/DesignSize.h"

namespace {

using namespace zb;

void FiveLayers(Design& d) {
    DibPicture* none = nullptr;
    TDynaArray<DibPicture> noTextures{&none};
    NewPlane(d, noTextures);
    d.CurrentLayer->Kind = kKindGradient;
    d.CurrentLayer->GradientColor2 = RGBColor(250, 230, 180);
    d.CurrentLayer->GradientDirection = 2;

    NewPlane(d, noTextures);
    TLayerRecord& tex = *d.CurrentLayer;
    tex.Kind = kKindTexture;
    tex.LayerPicture = DibPicture(512, 512, 24);
    std::mt19937 rng(7);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512 * 3; ++x) tex.LayerPicture.dib().Bits[y * tex.LayerPicture.dib().BytesPerLine + x] = uint8_t(rng());

    NewPlane(d, noTextures);
    d.CurrentLayer->Kind = kKindPattern;
    d.CurrentLayer->PatternCount = 2000;
    d.CurrentLayer->PatternSizeMM = 10.0;

    NewPlane(d, noTextures);
    d.CurrentLayer->Kind = kKindFilter;
    d.CurrentLayer->FilterIndex = 0; // "Weichzeichnen"

    NewPlane(d, noTextures);
    d.CurrentLayer->Kind = kKindText;
}

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
