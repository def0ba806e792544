// The real picture viewer on the offscreen platform: a 6000 x 4000 photo at
// 250 %, panned (the scroll area moves what it can and the viewer paints the
// uncovered strips) and repainted whole (after a zoom or an expose), at the
// viewer's own size and maximised on a full-HD screen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <random>

#include "base/DibPicture.h"
#include "viewer/TViewPicForm.h"

namespace {

struct Photo {
    zb::DibPicture dib;
    Photo() : dib(6000, 4000, 24) {
        std::mt19937 rng(9);  // printed seed
        auto* words = reinterpret_cast<uint32_t*>(dib.dib().Bits);
        for (size_t i = 0, n = size_t(dib.dib().BytesPerLine) * 4000 / 4; i < n; ++i) words[i] = rng();
    }
};

const Photo& ThePhoto() {
    static const Photo photo;
    return photo;
}

struct Viewer {
    zb::TViewPicForm form;
    QScrollArea* box;
    Viewer(int w, int h) {
        form.SetPicture(ThePhoto().dib);
        form.findChild<QSpinBox*>("ZoomEd")->setValue(250);
        form.resize(w, h);
        form.show();
        box = form.findChild<QScrollArea*>("ScrollBox1");
        QApplication::processEvents();
    }
    ~Viewer() { form.done(0); }
};

void BM_ViewerPan(benchmark::State& state) {
    Viewer v(int(state.range(0)), int(state.range(1)));
    QScrollBar* h = v.box->horizontalScrollBar();
    QScrollBar* vb = v.box->verticalScrollBar();
    int step = 0;
    for (auto _ : state) {
        ++step;
        h->setValue((step * 23) % h->maximum());
        vb->setValue((step * 17) % vb->maximum());
        QApplication::processEvents();  // the paint of the uncovered strips
    }
    state.counters["viewport_w"] = v.box->viewport()->width();
    state.counters["viewport_h"] = v.box->viewport()->height();
}
BENCHMARK(BM_ViewerPan)->ArgNames({"w", "h"})->Args({532, 420})->Args({1920, 1080})->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_ViewerFullRepaint(benchmark::State& state) {
    Viewer v(int(state.range(0)), int(state.range(1)));
    QScrollBar* h = v.box->horizontalScrollBar();
    QScrollBar* vb = v.box->verticalScrollBar();
    int step = 0;
    for (auto _ : state) {
        ++step;
        h->setValue((step * 523) % h->maximum());
        vb->setValue((step * 317) % vb->maximum());
        v.box->viewport()->repaint();  // everything visible, at once
    }
    state.counters["viewport_w"] = v.box->viewport()->width();
    state.counters["viewport_h"] = v.box->viewport()->height();
}
BENCHMARK(BM_ViewerFullRepaint)
    ->ArgNames({"w", "h"})
    ->Args({532, 420})
    ->Args({1920, 1080})
    ->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // A full-HD screen, so the large viewer fits.
    QTemporaryDir dir;
    const QString config = dir.filePath("screen.json");
    QFile file(config);
    if (file.open(QIODevice::WriteOnly))
        file.write(R"({"screens": [{"name": "FullHD", "x": 0, "y": 0, "width": 1920, "height": 1200,)"
                   R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
