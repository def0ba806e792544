// The design view of the real main window on the offscreen platform: from the
// edit timer firing to the repainted view (composition included), and a
// repaint without composition (what scrolling costs). The design is the
// five-layer composition of composition_bench (gradient, 512 x 512 texture,
// 2000 discs, "Weichzeichnen", text) on the whole A4 page of the printer
// stand-in, or on a sheet of 100 x 100 cm, with the real font engine.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>
#include <QDir>
#include <QLocale>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <random>

#include "app/DialogProvider.h"
#include "app/TMainForm.h"
#include "document/DesignFile.h"
#include "model/LayerStack.h"

namespace {

using namespace zb;

class SilentDialogs : public DialogProvider {
public:
    Answer Ask(QWidget*, const QString&, const QString&, bool) override { return Answer::Ok; }
    bool Choose(QWidget*, const QString&, const QString&, const QString&, const QString&) override { return false; }
    std::optional<std::vector<bool>> ChooseItems(QWidget*, const QString&, const QString&, const QStringList&,
                                                 const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    void Error(QWidget*, const QString&, const QString& text) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&, const QString&) override {
        return {};
    }
};

enum class Sheet { A4Page, Square100cm };

void FiveLayers(Design& d, Sheet sheet) {
    std::vector<DibPicture> noTextures;
    NewPlane(d, noTextures);
    d.Layers.back().Kind = kKindGradient;
    d.Layers.back().GradientColor2 = RGBColor(250, 230, 180);
    d.Layers.back().GradientDirection = 2;
    NewPlane(d, noTextures);
    TLayerRecord& tex = d.Layers.back();
    tex.LayerPicture = DibPicture(512, 512, 24);
    std::mt19937 rng(7);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512 * 3; ++x) tex.LayerPicture.dib().Bits[y * tex.LayerPicture.dib().BytesPerLine + x] = uint8_t(rng());
    NewPlane(d, noTextures);
    d.Layers.back().Kind = kKindPattern;
    d.Layers.back().PatternCount = 2000;
    d.Layers.back().PatternSizeMM = 10.0;
    NewPlane(d, noTextures);
    d.Layers.back().Kind = kKindFilter;
    NewPlane(d, noTextures);
    d.Layers.back().Kind = kKindText;
    d.Paper.PrintAll = sheet == Sheet::A4Page;
    if (sheet == Sheet::Square100cm) {
        d.Paper.Breit = d.Paper.Hoch = 100;
        d.Paper.SVerh = false;
    }
}

struct Window {
    QTemporaryDir dir;
    SilentDialogs dialogs;
    std::unique_ptr<TMainForm> form;
    explicit Window(Sheet sheet) {
        Design design;
        FiveLayers(design, sheet);
        const QString file = dir.filePath("fuenf.zbg");
        savefile(design, file.toStdString());
        TMainForm::Options options;
        options.dialogs = &dialogs;
        options.programFolder = QCoreApplication::applicationDirPath() + "/../bin";
        options.printer = PrinterPage{kFallbackPrintablePage, 600, true, {}};
        options.seed = 1;
        options.composeWaitMs = -1;
        form = std::make_unique<TMainForm>(options);
        form->resize(1024, 768);
        form->show();
        form->openfile(file);
        QCoreApplication::processEvents();
    }
    QWidget* View() { return form->findChild<QWidget*>("PaintBox1"); }
};

Window& TheWindow(Sheet sheet = Sheet::A4Page) {
    static Window a4(Sheet::A4Page);
    if (sheet == Sheet::A4Page) return a4;
    static Window square(Sheet::Square100cm);
    return square;
}

void SetZoom(Window& w, int zoom) {
    w.form->Workspace().SetZoom(zoom);
    w.form->PaintDesign();
    QCoreApplication::processEvents();
}

// args: zoom percent; 1 for the 100 x 100 cm sheet.
void BM_TimerToRepaintedView(benchmark::State& state) {
    Window& w = TheWindow(state.range(1) ? Sheet::Square100cm : Sheet::A4Page);
    SetZoom(w, int(state.range(0)));
    QWidget* view = w.View();
    for (auto _ : state) {
        // A fresh sheet of the same design: stale, as after an edit.
        w.form->Workspace().Reroll();
        w.form->Timer1Timer();
        view->repaint();
    }
    const zb::RasterSize raster = w.form->Workspace().Sheet().Size();
    state.counters["width"] = raster.width;
    state.counters["height"] = raster.height;
    state.counters["sheetWidth"] = w.form->Workspace().ShownSheetSize().width;
    state.counters["ratio"] = view->devicePixelRatioF();
    state.counters["compositions"] = w.form->Workspace().CompositionCount();
}
BENCHMARK(BM_TimerToRepaintedView)->Args({100, 0})->Args({300, 0})->Args({300, 1})->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// Scrolling: the visible part of the view is drawn again, nothing is composed.
void BM_RepaintWithoutComposition(benchmark::State& state) {
    Window& w = TheWindow();
    SetZoom(w, int(state.range(0)));
    QWidget* view = w.View();
    auto* box = w.form->findChild<QScrollArea*>("ScrollBox1");
    QScrollBar* bar = box->verticalScrollBar();
    const int before = w.form->Workspace().CompositionCount();
    int step = 0;
    for (auto _ : state) {
        bar->setValue((++step % 2) ? 40 : 0);
        view->repaint();
    }
    if (w.form->Workspace().CompositionCount() != before) state.SkipWithError("the repaint composed");
    state.counters["visibleWidth"] = box->viewport()->width();
    state.counters["visibleHeight"] = box->viewport()->height();
}
BENCHMARK(BM_RepaintWithoutComposition)->Arg(300)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // --display-scale=2: the window as on a screen scaled to 200 %.
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--display-scale=", 16) != 0) continue;
        qputenv("QT_SCALE_FACTOR", QByteArray(argv[i] + 16));
        std::copy(argv + i + 1, argv + argc, argv + i);
        --argc;
        break;
    }
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
