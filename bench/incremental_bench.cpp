// An edit of a 12-layer design (every kind, two filters, 20,000 pattern
// shapes, text on top) on an A4 sheet at 300 % on a 96 ppi screen, timed from
// the edit timer firing (the workspace asked to compose) to the composed sheet
// ready to be drawn. The twelve states of the sheet (21.3 MiB each) just fit
// the 256 MiB bound, so an edit of the top layer composes that layer only.
//
// BM_EditTopLayer: the top text layer's colour. BM_EditBottomLayer: the bottom
// gradient's colour, so the whole stack is composed and its states kept.
// BM_FullComposition: the same bottom edit with no states kept, as every edit
// was composed before.
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <iterator>
#include <random>

#include "WordFontEngine.h"
#include "model/LayerChoices.h"
#include "workspace/DesignWorkspace.h"

namespace {

using namespace zb;

// The printable A4 page at 600 dpi: at 96 ppi and 300 % the sheet is
// 2284 x 3253 pixels.
const PrinterFacts kA4{{4760, 6779, 600, 600}, true};
constexpr int kScreenPpi = 96;

// One layer of the design: its kind and the settings that differ from a new layer's.
struct LayerSpec {
    uint32_t kind;
    int32_t transparency = 0;
    int32_t count = 0; // shapes of a pattern, density of a text
    int32_t shape = kShapeDiscs;
    int32_t filter = 0;
};

void TwelveLayers(DesignWorkspace& w) {
    const LayerSpec layers[] = {
        {kKindGradient},
        {kKindTexture, 1},
        {kKindPattern, 0, 20000},
        {kKindFilter, 0, 0, 0, 0}, // "Weichzeichnen"
        {kKindGradient, 3},
        {kKindPattern, 2, 300, kShapeStripes},
        {kKindText, 1, 3},
        {kKindFilter, 0, 0, 0, 5},
        {kKindPattern, 0, 500, kShapeSquares},
        {kKindTexture, 4},
        {kKindGradient, 4},
        {kKindText, -1, 5},
    };
    w.Start();
    std::mt19937 rng(7);
    for (size_t i = 0; i < std::size(layers); ++i) {
        if (i > 0) w.NewLayer();
        const LayerSpec& spec = layers[i];
        if (spec.kind == kKindTexture) {
            // A picture of random pixels, tiled.
            TDibRecord picture{};
            newdib(picture, 512, 512, 24, nullptr, 0);
            for (int y = 0; y < 512; ++y)
                for (int x = 0; x < 512 * 3; ++x) picture.Bits[y * picture.BytesPerLine + x] = uint8_t(rng());
            w.TakePicture(picture);
        }
        w.StoreEditor([&](TLayerRecord& l) {
            l.Kind = spec.kind;
            l.Transparency = spec.transparency;
            l.GradientColor2 = RGBColor(250, 230, 180);
            l.GradientDirection = int32_t(i % 4);
            l.PatternCount = spec.count;
            l.TextCount = spec.count;
            l.PatternShape = spec.shape;
            l.PatternSizeMM = spec.count > 1000 ? 4 : 10;
            l.FilterIndex = spec.filter;
        });
    }
    w.SetZoom(300);
}

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Edits `layer` (alternating between two colours) and times the composition.
void TimeEdits(benchmark::State& state, size_t cacheBytes, int layer,
               void (*edit)(TLayerRecord&, bool second)) {
    bench::WordEngine fonts;
    DesignWorkspace w(1, kA4, &fonts, cacheBytes);
    TwelveLayers(w);
    if (!w.Compose(kScreenPpi, -1).empty()) {
        state.SkipWithError("the sheet could not be composed");
        return;
    }
    w.Select(layer);
    bool second = false;
    double cpuSeconds = 0;
    for (auto _ : state) {
        second = !second;
        w.StoreEditor([&](TLayerRecord& l) { edit(l, second); });
        const double cpuStart = ProcessCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        w.Compose(kScreenPpi, -1);
        const auto end = std::chrono::steady_clock::now();
        cpuSeconds += ProcessCpuSeconds() - cpuStart;
        if (w.Stale()) state.SkipWithError("the sheet was not composed");
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    // The CPU time of every thread (the composing thread and the row
    // workers), steadier than the wall time on a machine shared with others.
    state.counters["process_cpu_ms"] = 1000 * cpuSeconds / double(state.iterations());
    state.counters["width"] = w.Sheet().Size().width;
    state.counters["height"] = w.Sheet().Size().height;
    state.counters["from_layer"] = w.LastComposedFrom();
    state.counters["kept_MB"] = double(w.Cache().Bytes()) / (1 << 20);
}

void TextColour(TLayerRecord& l, bool second) { l.TextColor = second ? RGBColor(200, 30, 30) : RGBColor(20, 40, 160); }
void GradientColour(TLayerRecord& l, bool second) {
    l.GradientColor1 = second ? RGBColor(90, 120, 40) : RGBColor(30, 60, 120);
}

void BM_EditTopLayer(benchmark::State& state) { TimeEdits(state, kDefaultSheetCacheBytes, 11, TextColour); }
void BM_EditBottomLayer(benchmark::State& state) { TimeEdits(state, kDefaultSheetCacheBytes, 0, GradientColour); }
void BM_FullComposition(benchmark::State& state) { TimeEdits(state, 0, 0, GradientColour); }

BENCHMARK(BM_EditTopLayer)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_EditBottomLayer)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_FullComposition)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

} // namespace

BENCHMARK_MAIN();
