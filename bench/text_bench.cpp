// Text layers over whole sheets, with a synthetic font engine so only the
// generator is measured (no platform rendering).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "model/TLayerRecord.h"
#include "render/TextScatter.h"
#include "WordFontEngine.h"

namespace {

struct Sheet {
    int width, height;
    double ppi;
    std::vector<uint8_t> bytes;
    zb::RasterView view;
    Sheet(int w, int h, double ppi_) : width(w), height(h), ppi(ppi_) {
        const ptrdiff_t stride = (ptrdiff_t(w) * 3 + 3) / 4 * 4;
        bytes.assign(size_t(stride) * size_t(h), 255);
        // Bottom-up, as the design raster is stored.
        view = zb::RasterView{bytes.data() + (h - 1) * stride, -stride, w, h};
    }
};

void RunScatter(benchmark::State& state, Sheet& sheet, bool random) {
    zb::TLayerRecord layer{};
    zb::SetLayerDefaults(layer);
    layer.Kind = zb::kKindText;
    layer.TextColorMode = random ? 0 : 2;
    layer.TextSizeMode = random ? 0 : 1;
    layer.TextPosMode = random ? 0 : 1;
    layer.TextFontMode = random ? 0 : 1;
    layer.TextCount = random ? 5 : 10;
    zb::bench::WordEngine fonts;
    zb::RandomInt rng(12345);
    for (auto _ : state) {
        zb::ScatterText(sheet.view, layer, sheet.ppi, 100, rng, fonts);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(sheet.width) * sheet.height);
}

// A4 at 600 dpi, 12 points = 100 pixels: the printer's sheet.
void BM_TextPage600DpiChosen(benchmark::State& state) {
    Sheet sheet(4960, 7016, 600);
    RunScatter(state, sheet, false);
}
void BM_TextPage600DpiRandom(benchmark::State& state) {
    Sheet sheet(4960, 7016, 600);
    RunScatter(state, sheet, true);
}
// A4 on screen at 96 dpi, 12 points = 16 pixels: many small cells.
void BM_TextScreen96DpiChosen(benchmark::State& state) {
    Sheet sheet(793, 1122, 96);
    RunScatter(state, sheet, false);
}
void BM_TextScreen96DpiRandom(benchmark::State& state) {
    Sheet sheet(793, 1122, 96);
    RunScatter(state, sheet, true);
}

} // namespace

BENCHMARK(BM_TextPage600DpiChosen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextPage600DpiRandom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextScreen96DpiChosen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextScreen96DpiRandom)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
