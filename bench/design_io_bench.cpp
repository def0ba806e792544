// Saving and opening a design of 20 layers with 1000 x 1000 pictures of 24 bits
// (about 60 MB). Files go to the system's temporary folder, or to the folder
// named by ZB_BENCH_DIR.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>

#include "document/DesignFile.h"
#include "base/DibPicture.h"
#include "model/Design.h"

namespace {

constexpr int kLayers = 20;
constexpr int kSide = 1000;

std::unique_ptr<zb::Design> MakeDesign() {
    auto d = std::make_unique<zb::Design>();
    std::mt19937 rng(42);
    for (int i = 0; i < kLayers; ++i) {
        zb::TLayerRecord* layer = &d->Layers.Add();
        zb::SetLayerDefaults(*layer);
        layer->LayerPicture = zb::DibPicture(kSide, kSide, 24);
        auto* words = reinterpret_cast<uint32_t*>(layer->LayerPicture.dib().Bits);
        const size_t n = size_t(layer->LayerPicture.dib().BytesPerLine) * kSide / 4;
        for (size_t k = 0; k < n; ++k) words[k] = rng();
    }
    d->Layers.Select(kLayers - 1);
    return d;
}

std::string BenchFile() {
    const char* dir = std::getenv("ZB_BENCH_DIR");
    const std::filesystem::path folder = dir ? std::filesystem::path(dir) : std::filesystem::temp_directory_path();
    return (folder / ("zb-design-bench-" + std::to_string(::getpid()) + ".zbg")).string();
}

void BM_SaveDesign(benchmark::State& state) {
    const auto design = MakeDesign();
    const std::string path = BenchFile();
    zb::SaveOptions options;
    options.Sync = state.range(0) != 0;
    for (auto _ : state) {
        const zb::FileResult r = zb::savefile(*design, path, options);
        if (!r.Ok) state.SkipWithError(r.Message.c_str());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(path)));
    std::filesystem::remove(path);
}
BENCHMARK(BM_SaveDesign)->ArgName("sync")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenDesign(benchmark::State& state) {
    const std::string path = BenchFile();
    if (!zb::savefile(*MakeDesign(), path)) {
        state.SkipWithError("could not write the test file");
        return;
    }
    auto design = std::make_unique<zb::Design>();
    for (auto _ : state) {
        const zb::FileResult r = zb::openfile(path, design);
        if (!r.Ok) state.SkipWithError(r.Message.c_str());
        benchmark::DoNotOptimize(design->Layers[0]);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(path)));
    std::filesystem::remove(path);
}
BENCHMARK(BM_OpenDesign)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
