// Text layers over whole sheets, with a synthetic font engine so only the
// generator is measured (no platform rendering).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "model/Design.h"
#include "model/TLayerRecord.h"
#include "render/BandComposer.h"
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

// A text layer of random fonts, sizes and places over 20 x 20 cm at 600 dpi
// (4724 x 4724 pixels), composed as printing and export compose it: arg 0
// whole, arg 1 in bands of 710 rows (the bands of a 100 x 100 cm sheet at
// 600 dpi), each band a window of the same sheet. The bands should cost
// little more than the whole: the sheet's text is walked and rendered once.
void BM_TextSheetWholeOrInBands(benchmark::State& state) {
    const zb::RasterSize sheet{4724, 4724};
    const int rows = state.range(0) == 0 ? sheet.height : 710;
    zb::Design design;
    zb::TLayerRecord& layer = design.Layers.Add();
    zb::SetLayerDefaults(layer);
    layer.Kind = zb::kKindText;
    layer.TextColorMode = 0;
    layer.TextSizeMode = 0;
    layer.TextPosMode = 0;
    layer.TextFontMode = 0;
    layer.TextCount = 5;
    zb::bench::WordEngine fonts;
    for (auto _ : state) {
        zb::BandComposer composer(design, sheet, 600, 100, 12345, &fonts);
        for (int top = 0; top < sheet.height; top += rows) {
            zb::RasterView band;
            const zb::JobResult result =
                composer.ComposeWindowView(0, top, sheet.width, std::min(rows, sheet.height - top), band);
            if (!result.ok()) state.SkipWithError("Fehler beim Zusammensetzen eines Streifens");
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(sheet.width) * sheet.height);
}

} // namespace

BENCHMARK(BM_TextSheetWholeOrInBands)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TextPage600DpiChosen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextPage600DpiRandom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextScreen96DpiChosen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextScreen96DpiRandom)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
