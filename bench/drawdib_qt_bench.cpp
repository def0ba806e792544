// Drawing DIB records on the screen through the Qt device, as the window and
// the picture viewer do: the design raster of an A4 page at 100 % and 300 %,
// and panning a 6000 x 4000 photo at 250 % in viewports of common sizes. The
// target is a QImage of the backing store's format; the painter is translated
// and given the exposed rectangle as a scrolled widget's paint event is.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <random>

#include "base/DibPicture.h"
#include "imaging/DrawDib.h"
#include "platform/QtPainterDibDevice.h"
#include "OffscreenBenchMain.h"

namespace {

// A picture of random pixels (seed 5), so nothing compresses or repeats.
class Picture {
public:
    Picture(int w, int h) : dib_(w, h, 24) {
        std::mt19937 rng(5);
        uint32_t* words = reinterpret_cast<uint32_t*>(dib_.dib().Bits);
        const size_t count = size_t(dib_.dib().BytesPerLine) * size_t(h) / 4;
        for (size_t i = 0; i < count; ++i) words[i] = rng();
    }
    const zb::TDibRecord& dib() const { return dib_; }

private:
    zb::DibPicture dib_;
};

// One paint of a view scrolled to (sx, sy): the picture at zoom, drawn into a
// viewport of vw x vh.
void Paint(QImage& viewport, const zb::TDibRecord& dib, double zoom, int sx, int sy) {
    const int w = zb::DibWidth(dib), h = zb::DibHeight(dib);
    const int W = int(w * zoom / 100), H = int(h * zoom / 100);
    QPainter painter(&viewport);
    painter.translate(-sx, -sy);
    const QSize logical = (QSizeF(viewport.size()) / viewport.devicePixelRatio()).toSize();
    zb::QtPainterDibDevice device(painter, QRect(QPoint(sx, sy), logical));
    zb::DrawDib(device, 0, 0, W, H, dib, 0, 0, w, h, true, false);
}

// A4 printable page at 96 ppi: 793 x 1122 at 100 %, 2379 x 3366 at 300 %.
void BM_DesignRaster(benchmark::State& state) {
    const int zoom = int(state.range(0));
    const int w = zoom == 100 ? 793 : 2379, h = zoom == 100 ? 1122 : 3366;
    Picture raster(w, h);
    QImage viewport(int(state.range(1)), int(state.range(2)), QImage::Format_RGB32);
    int step = 0;
    for (auto _ : state) {
        // Scroll a little every paint, so a different part is drawn.
        const int sx = std::max(0, std::min(w - viewport.width(), (step * 37) % std::max(1, w)));
        const int sy = std::max(0, std::min(h - viewport.height(), (step * 53) % std::max(1, h)));
        QPainter painter(&viewport);
        painter.translate(-sx, -sy);
        zb::QtPainterDibDevice device(painter, QRect(sx, sy, viewport.width(), viewport.height()));
        zb::DrawDib(device, 0, 0, w, h, raster.dib(), 0, 0, w, h, false, false);
        ++step;
    }
    state.SetItemsProcessed(state.iterations() * int64_t(viewport.width()) * viewport.height());
}
BENCHMARK(BM_DesignRaster)
    ->ArgNames({"zoom", "vw", "vh"})
    ->Args({100, 793, 1122})
    ->Args({300, 1280, 800})
    ->Args({300, 1920, 1080})
    ->Unit(benchmark::kMillisecond);

void BM_PanPhoto250(benchmark::State& state) {
    static const Picture photo(6000, 4000);
    // Display scaling in percent: the viewport has that many device pixels
    // per 100 logical ones, as a widget's backing store on a scaled screen.
    const double ratio = state.range(2) / 100.0;
    QImage viewport(int(state.range(0) * ratio), int(state.range(1) * ratio), QImage::Format_RGB32);
    viewport.setDevicePixelRatio(ratio);
    const int W = 15000 - int(state.range(0)), H = 10000 - int(state.range(1));
    int step = 0;
    for (auto _ : state) {
        // Panning: the point moves by 23 x 17 pixels each paint, across the photo.
        Paint(viewport, photo.dib(), 250, (step * 23) % W, (step * 17) % H);
        ++step;
    }
    state.SetItemsProcessed(state.iterations() * int64_t(viewport.width()) * viewport.height());
}
BENCHMARK(BM_PanPhoto250)
    ->ArgNames({"vw", "vh", "scale"})
    ->Args({532, 338, 100})
    ->Args({1280, 800, 100})
    ->Args({1920, 1080, 100})
    ->Args({1280, 720, 150})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return zb::bench::RunOffscreenBenchmarks(argc, argv); }
