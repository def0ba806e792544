// "Grafik Export..." of sheets far larger than the memory of a whole-sheet
// composition would allow: 100 x 100 cm at 600 dpi (23,622 x 23,622 pixels,
// 1.67 GB per raster) and 70 x 100 cm at 300 dpi, five layers, to PNG and PDF. They
// are composed and written band by band; the counter peak_rss_MB is the
// process's peak resident memory, so run one benchmark per process:
//   ./build/bench/bigsheet_output_bench --benchmark_filter='BigSheetToPng/0/0/'
// Real Qt fonts on the offscreen platform. The file goes to the system's
// temporary folder (ZB_BENCH_DIR for another one) and is removed afterwards.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <sys/resource.h>

#include "ExportBenchJob.h"
#include "FiveLayerDesign.h"
#include "OffscreenBenchMain.h"
#include "output/DesignPrinting.h"
#include "output/PrintSession.h"
#include "platform/QtFontEngine.h"

namespace {

using namespace zb;

// arg: 0 is 100 x 100 cm at 600 dpi, 1 is 70 x 100 cm at 300 dpi; the
// second arg, where given, 1 for a PDF instead of a PNG.
void BM_BigSheetToPng(benchmark::State& state) {
    const bool large = state.range(0) == 0;
    const bool pdf = state.range(1) == 1;
    Design design;
    bench::FiveLayers(design);
    design.Paper.PrintAll = false;
    design.Paper.Breit = large ? 100 : 70;
    design.Paper.Hoch = 100;
    platform::QtFontEngine fonts;
    DesignExportJob job =
        bench::ExportBenchJob(design, fonts, large ? 600 : 300,
                              pdf ? QStringLiteral("zb-bigsheet-bench.pdf") : QStringLiteral("zb-bigsheet-bench.png"));
    job.seed = 20261207;
    const RasterSize size = ExportRasterSize(design.Paper, job.page, job.dpi);
    for (auto _ : state) {
        const std::string message = ExportDesign(job).message;
        if (!message.empty()) state.SkipWithError(message.c_str());
    }
    state.counters["megapixels"] = double(size.width) * size.height / 1e6;
    state.counters["file_MB"] = double(QFileInfo(QString::fromStdString(job.fileName)).size()) / 1e6;
    QFile::remove(QString::fromStdString(job.fileName));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_BigSheetToPng)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1);

// The 100 x 100 cm sheet printed as a poster on the A4 PDF printer that
// stands in when no printer is installed (600 dpi, 1 cm glue strips): every
// page's piece composed band by band and drawn as it comes.
void BM_BigSheetPoster(benchmark::State& state) {
    Design design;
    bench::FiveLayers(design);
    design.Paper.PrintAll = false;
    design.Paper.Breit = 100;
    design.Paper.Hoch = 100;
    design.Paper.Zoom = 30;
    platform::QtFontEngine fonts;
    const QString pdf = QDir(bench::BenchFolder()).filePath(QStringLiteral("zb-bigsheet-poster.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    SetUpFallbackPrinter(printer, pdf);
    DesignPrintJob job;
    job.design = &design;
    job.fonts = &fonts;
    job.firstSeed = 20261207;
    job.zoomPercent = 30;
    job.settings.poster = true;
    int pages = 0;
    for (auto _ : state) {
        const PrintOutcome outcome = PrintDesign(printer, job);
        if (!outcome.result.ok()) state.SkipWithError(outcome.result.message.c_str());
        pages = outcome.pagesPrinted;
    }
    state.counters["pages"] = pages;
    state.counters["file_MB"] = double(QFileInfo(pdf).size()) / 1e6;
    QFile::remove(pdf);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_BigSheetPoster)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char** argv) { return zb::bench::RunOffscreenBenchmarks(argc, argv); }
