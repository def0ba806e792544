// Text layers over whole sheets, with a synthetic font engine so only the
// generator is measured (no platform rendering).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "model/TLayerRecord.h"
#include "render/TextScatter.h"

namespace {

// Returns a bitmap shaped like a four-letter word at the asked height: about
// 1.84 em wide, 1.12 em high, a fifth of it ink in strokes, as a sans-serif
// "Test" renders.
class WordEngine : public zb::FontEngine {
public:
    const std::vector<std::string>& Families() override { return families_; }
    zb::TextBitmap Render(const std::string& family, int pixelHeight, std::string_view) override {
        const int em = std::max(pixelHeight == 0 ? 16 : pixelHeight, 2) + int(family.size() % 3);
        zb::TextBitmap b;
        b.width = em * 184 / 100;
        b.height = em * 112 / 100;
        b.pixels.assign(size_t(b.width) * size_t(b.height), 255);
        const int stroke = std::max(em / 9, 1);
        const int top = em * 18 / 100, base = em * 90 / 100;
        auto ink = [&](int x0, int y0, int x1, int y1) {
            for (int y = std::max(y0, 0); y < std::min(y1, b.height); ++y)
                for (int x = std::max(x0, 0); x < std::min(x1, b.width); ++x) b.pixels[size_t(y * b.width + x)] = 0;
        };
        const int cell = b.width / 4;
        for (int letter = 0; letter < 4; ++letter) {
            const int x = letter * cell;
            const int mid = x + cell / 2;
            ink(mid - stroke / 2, letter % 2 ? (top + base) / 2 : top, mid + stroke / 2 + 1, base); // stem
            ink(x + cell / 8, letter % 2 ? (top + base) / 2 : top, x + cell * 7 / 8,
                (letter % 2 ? (top + base) / 2 : top) + stroke);                                    // bar
            if (letter % 2) {
                ink(x + cell / 8, base - stroke, x + cell * 7 / 8, base);                            // foot
                ink(x + cell / 8, (top + base) / 2, x + cell / 8 + stroke, base);                    // bowl
            }
        }
        return b;
    }

private:
    std::vector<std::string> families_{"Arial", "Courier New", "Georgia", "Times New Roman", "Verdana"};
};

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
    WordEngine fonts;
    zb::RandomInt rng(12345);
    for (auto _ : state) {
        zb::ScatterText(sheet.view, layer, sheet.ppi, 100, rng, fonts);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(sheet.width) * sheet.height);
    zb::ReleaseLayer(layer);
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
