// What a seamless tile costs over a plain sheet: shapes drawn once more where
// they cross an edge, and filters reading the plane through a bordered copy.
#include <benchmark/benchmark.h>

#include "BenchRaster.h"
#include "base/TileWrap.h"
#include "imaging/FilterTable.h"
#include "imaging/WrappedFilter.h"
#include "render/PatternGenerator.h"

namespace {

using zb::bench::BenchRaster;

// 100000 discs of 34 pixels (9 mm, fixed size) on A4 at 100 % on a 96 ppi
// screen; argument 1: as a seamless tile.
void BM_Discs34_761x1084(benchmark::State& state) {
    zb::TLayerRecord layer{};
    layer.Kind = zb::kKindPattern;
    layer.PatternSizeMode = 1;
    layer.PatternSizeMM = 9;
    layer.PatternCount = 100000;
    BenchRaster raster(761, 1084);
    const zb::TileWrap wrap = state.range(0) ? zb::TileWrap{761, 1084, 0} : zb::TileWrap{};
    zb::RandomInt random(12345);
    for (auto _ : state) {
        GeneratePattern(raster.view(), layer, 96, 100, random, wrap);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Discs34_761x1084)->ArgName("seamless")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// "Stark Weichzeichnen" on A4 at 100 % on a 96 ppi screen and at 600 dpi;
// second argument 1: as a seamless tile.
void BM_Filter2(benchmark::State& state) {
    const bool print = state.range(0) != 0;
    const int w = print ? 4960 : 761, h = print ? 7016 : 1084;
    BenchRaster raster(w, h, BenchRaster::Fill::Random);
    const zb::TileWrap wrap = state.range(1) ? zb::TileWrap{w, h, 0} : zb::TileWrap{};
    for (auto _ : state) {
        if (!zb::ApplyWrappedFilter(raster.view(), zb::FilterTable[2], wrap)) state.SkipWithError("no memory");
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Filter2)->ArgNames({"print", "seamless"})->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
