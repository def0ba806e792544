// Pattern layers at screen and printer resolution.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "BenchRaster.h"
#include "render/PatternGenerator.h"

namespace {

using zb::bench::BenchRaster;

zb::TLayerRecord Layer(int shape, int sizeMode, double mm, int count) {
    zb::TLayerRecord layer{};
    layer.Kind = zb::kKindPattern;
    layer.PatternShape = shape;
    layer.PatternColorMode = 0;
    layer.PatternSizeMode = sizeMode;
    layer.PatternPosMode = 0;
    layer.PatternSizeMM = mm;
    layer.PatternCount = count;
    return layer;
}

void Run(benchmark::State& state, int width, int height, const zb::TLayerRecord& layer, double ppi, double zoom) {
    BenchRaster raster(width, height);
    zb::RandomInt random(12345);
    for (auto _ : state) {
        GeneratePattern(raster.view(), layer, ppi, zoom, random);
        benchmark::ClobberMemory();
    }
    state.counters["shapes/s"] =
        benchmark::Counter(double(state.iterations()) * layer.PatternCount, benchmark::Counter::kIsRate);
}

// 100000 discs of 34 pixels (9 mm, fixed size) on A4 at 100 % on a 96 ppi screen.
void BM_Discs34_Screen761x1084(benchmark::State& state) {
    if (zb::PatternSizePx(9, 96, 100) != 34) state.SkipWithError("size is not 34 pixels");
    Run(state, 761, 1084, Layer(0, 1, 9, 100000), 96, 100);
}
BENCHMARK(BM_Discs34_Screen761x1084)->Unit(benchmark::kMillisecond);

// One disc of 700 pixels on A4 at 600 dpi.
void BM_Disc700_Printer4960x7016(benchmark::State& state) {
    const double mm = 700.5 * 25.39995 / 600;
    if (zb::PatternSizePx(mm, 600, 100) != 700) state.SkipWithError("size is not 700 pixels");
    Run(state, 4960, 7016, Layer(0, 1, mm, 1), 600, 100);
}
BENCHMARK(BM_Disc700_Printer4960x7016)->Unit(benchmark::kMicrosecond);

// 2000 shapes of a new layer's size (30 mm, random size) for every shape:
// A4 at 30 % and at 100 % on a 96 ppi screen, and at 600 dpi.
void BM_Shapes2000(benchmark::State& state) {
    const int shape = int(state.range(0));
    const zb::TLayerRecord layer = Layer(shape, 0, 30, 2000);
    switch (state.range(1)) {
    case 0: Run(state, 228, 325, layer, 96, 30); break;
    case 1: Run(state, 761, 1084, layer, 96, 100); break;
    default: Run(state, 4960, 7016, layer, 600, 100); break;
    }
}
BENCHMARK(BM_Shapes2000)
    ->ArgNames({"shape", "raster"})
    ->ArgsProduct({{0, 1, 2, 3, 4, 5}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
