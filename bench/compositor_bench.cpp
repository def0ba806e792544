// Compositor kernels at the sizes a user meets: the design view of an A4
// printable page (4760 x 6779 printer pixels at 600 dpi) on a 96 ppi screen at
// 30 % and 100 % zoom, and a whole 600 dpi A4 sheet (4960 x 7016) as printing
// and export compose it. memcpy of the same number of bytes is the yardstick
// for these memory-bound kernels.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "base/RasterView.h"
#include "base/DibPicture.h"
#include "model/Design.h"
#include "render/Compositor.h"
#include "render/DesignSize.h"
#include "render/GradientFill.h"
#include "render/GroundFill.h"
#include "render/LayerBlend.h"
#include "base/ParallelRows.h"
#include "render/TextureTiling.h"

namespace {

struct Target {
    int ppi;
    double zoom;
};

// Index 0: screen at 30 %, 1: screen at 100 %, 2: 600 dpi sheet.
zb::RasterSize SizeOf(int index) {
    if (index == 2) return {4960, 7016};
    zb::PaperSettings paper;
    paper.PrintAll = true;
    return zb::DesignRasterSize(paper, {4760, 6779, 600}, 96, index == 0 ? 30 : 100);
}

Target TargetOf(int index) { return index == 2 ? Target{600, 100} : Target{96, index == 0 ? 30.0 : 100.0}; }

class Dib {
public:
    explicit Dib(zb::RasterSize size, uint8_t fill) {
        dib_ = zb::DibPicture(size.width, size.height, 24);
        if (dib_.dib().Bits) std::memset(dib_.dib().Bits, fill, size_t(dib_.dib().BytesPerLine) * size_t(size.height));
    }
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;
    zb::RasterView view() const { return zb::ViewOf(dib_); }
    const zb::TDibRecord& record() const { return dib_; }
    int64_t bytes() const { return int64_t(dib_.dib().BytesPerLine) * zb::DibHeight(dib_); }

private:
    zb::DibPicture dib_;
};

void Label(benchmark::State& state, const Dib& dib, int64_t bytesPerIteration) {
    const zb::RasterView v = dib.view();
    state.SetLabel(std::to_string(v.width) + "x" + std::to_string(v.height));
    state.SetBytesProcessed(int64_t(state.iterations()) * bytesPerIteration);
}

void BM_Gradient(benchmark::State& state) {
    Dib raster(SizeOf(int(state.range(0))), 0);
    const int direction = int(state.range(1));
    for (auto _ : state) {
        zb::FillGradient(raster.view(), zb::RGBColor(0, 40, 250), zb::RGBColor(255, 220, 10), direction);
        benchmark::ClobberMemory();
    }
    Label(state, raster, raster.bytes());
}

void BM_GradientReference(benchmark::State& state) {
    Dib raster(SizeOf(int(state.range(0))), 0);
    for (auto _ : state) {
        zb::FillGradientReference(raster.view(), zb::RGBColor(0, 40, 250), zb::RGBColor(255, 220, 10),
                                  int(state.range(1)));
        benchmark::ClobberMemory();
    }
    Label(state, raster, raster.bytes());
}

// A 256 x 256 texture at the new layer's default width of 75 mm.
void BM_Tiling(benchmark::State& state) {
    const int index = int(state.range(0));
    Dib raster(SizeOf(index), 0);
    Dib picture({256, 256}, 0);
    const zb::RasterView p = picture.view();
    for (int y = 0; y < p.height; ++y)
        for (int i = 0; i < p.width * 3; ++i) p.row(y)[i] = uint8_t(y * 7 + i * 13);
    const Target t = TargetOf(index);
    const zb::TileSize tile = zb::TextureTileSize(256, 256, 75.0, t.ppi, t.zoom);
    for (auto _ : state) {
        zb::TileTexture(raster.view(), p, tile);
        benchmark::ClobberMemory();
    }
    Label(state, raster, raster.bytes());
}

void BM_TilingReference(benchmark::State& state) {
    const int index = int(state.range(0));
    Dib raster(SizeOf(index), 0);
    Dib picture({256, 256}, 90);
    const Target t = TargetOf(index);
    const zb::TileSize tile = zb::TextureTileSize(256, 256, 75.0, t.ppi, t.zoom);
    for (auto _ : state) {
        zb::TileTextureReference(raster.view(), picture.view(), tile);
        benchmark::ClobberMemory();
    }
    Label(state, raster, raster.bytes());
}

// One upper layer at the default transparency (S = 5). Bytes counted: the
// layer and the design read, the design written.
void BM_Blend(benchmark::State& state) {
    const zb::RasterSize size = SizeOf(int(state.range(0)));
    Dib design(size, 100), layer(size, 200);
    for (auto _ : state) {
        zb::BlendLayer(design.view(), layer.view(), 5);
        benchmark::ClobberMemory();
    }
    Label(state, design, design.bytes() * 3);
}

void BM_BlendReference(benchmark::State& state) {
    const zb::RasterSize size = SizeOf(int(state.range(0)));
    Dib design(size, 100), layer(size, 200);
    for (auto _ : state) {
        zb::BlendLayerReference(design.view(), layer.view(), 5);
        benchmark::ClobberMemory();
    }
    Label(state, design, design.bytes() * 3);
}

void BM_GroundWhite(benchmark::State& state) {
    Dib raster(SizeOf(int(state.range(0))), 0);
    for (auto _ : state) {
        zb::FillWhite(raster.view());
        benchmark::ClobberMemory();
    }
    Label(state, raster, raster.bytes());
}

void BM_GroundCopy(benchmark::State& state) {
    const zb::RasterSize size = SizeOf(int(state.range(0)));
    Dib design(size, 100), layer(size, 0);
    for (auto _ : state) {
        zb::CopyPixels(layer.view(), design.view());
        benchmark::ClobberMemory();
    }
    Label(state, design, design.bytes() * 2);
}

// The yardstick: one memcpy of the whole raster on one core, and the same
// split into row bands over the cores as ParallelRows does. Bytes counted: read plus written.
void BM_Memcpy(benchmark::State& state) {
    const zb::RasterSize size = SizeOf(int(state.range(0)));
    Dib from(size, 100), to(size, 0);
    const size_t bytes = size_t(from.bytes());
    for (auto _ : state) {
        std::memcpy(to.record().Bits, from.record().Bits, bytes);
        benchmark::ClobberMemory();
    }
    Label(state, from, int64_t(bytes) * 2);
}

void BM_MemcpyBothCores(benchmark::State& state) {
    const zb::RasterSize size = SizeOf(int(state.range(0)));
    Dib from(size, 100), to(size, 0);
    const size_t line = size_t(from.record().BytesPerLine);
    for (auto _ : state) {
        zb::ParallelRows(size.height, from.bytes() * 2, [&](int y0, int y1) {
            std::memcpy(to.record().Bits + line * size_t(y0), from.record().Bits + line * size_t(y0),
                        line * size_t(y1 - y0));
        });
        benchmark::ClobberMemory();
    }
    Label(state, from, from.bytes() * 2);
}

// A stack of the kinds that need no other generator: gradient at the bottom,
// the 256 x 256 texture at S = 5, a diagonal gradient at S = 3 and an opaque
// gradient on top (the rasters trade places instead of copying).
void BM_ComposeGradientsAndTexture(benchmark::State& state) {
    const int index = int(state.range(0));
    const Target t = TargetOf(index);
    zb::Design design;
    auto add = [&](uint32_t kind, int32_t transparency) -> zb::TLayerRecord& {
        zb::TLayerRecord& layer = design.Layers.Add();
        zb::SetLayerDefaults(layer);
        layer.Kind = kind;
        layer.Transparency = transparency;
        layer.GradientColor2 = zb::RGBColor(250, 250, 0);
        return layer;
    };
    add(zb::kKindGradient, 0);
    zb::TLayerRecord& texture = add(zb::kKindTexture, 0);
    texture.LayerPicture = zb::DibPicture(256, 256, 24);
    add(zb::kKindGradient, -2).GradientDirection = 2;
    add(zb::kKindGradient, -5).GradientDirection = 1;
    zb::Compositor compositor;
    if (!compositor.EnsureSize(SizeOf(index)).empty()) {
        state.SkipWithError("no memory for the rasters");
        return;
    }
    for (auto _ : state) {
        compositor.ComposeFromSeed(design, t.ppi, t.zoom, 1, nullptr);
        benchmark::ClobberMemory();
    }
    const zb::RasterSize size = compositor.Size();
    state.SetLabel(std::to_string(size.width) + "x" + std::to_string(size.height) + ", 4 layers");
}

void Sizes(benchmark::internal::Benchmark* b) { b->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime(); }

void SizesAndDirections(benchmark::internal::Benchmark* b) {
    b->ArgsProduct({{0, 1, 2}, {0, 1, 2, 3}})->Unit(benchmark::kMillisecond)->UseRealTime();
}

} // namespace

BENCHMARK(BM_Gradient)->Apply(SizesAndDirections);
BENCHMARK(BM_GradientReference)->ArgsProduct({{2}, {0, 3}})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Tiling)->Apply(Sizes);
BENCHMARK(BM_TilingReference)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Blend)->Apply(Sizes);
BENCHMARK(BM_BlendReference)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GroundWhite)->Apply(Sizes);
BENCHMARK(BM_GroundCopy)->Apply(Sizes);
BENCHMARK(BM_Memcpy)->Apply(Sizes);
BENCHMARK(BM_MemcpyBothCores)->Apply(Sizes);

BENCHMARK(BM_ComposeGradientsAndTexture)->Apply(Sizes);

BENCHMARK_MAIN();
