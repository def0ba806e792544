// "Grafik Export..." of an A4 design of five layers (gradient, texture, 2000
// discs, "Weichzeichnen", text) at 600 dpi: composition with the filter at the
// preview's scale, then the file written, as the window and `zierbogen export`
// do it. Real Qt fonts on the offscreen platform. The files go to the system's
// temporary folder (ZB_BENCH_DIR for another one).
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>
#include <random>
#include <sys/resource.h>

#include "ExportBenchJob.h"
#include "FiveLayerDesign.h"
#include "output/DesignPrinting.h"
#include "platform/QtFontEngine.h"
#include "OffscreenBenchMain.h"

namespace {

using namespace zb;
using zb::bench::FiveLayers;

// arg: 0 PNG, 1 PDF, 2 TIFF.
void BM_ExportA4At600Dpi(benchmark::State& state) {
    static const char* const kinds[] = {"png", "pdf", "tif"};
    const char* kind = kinds[state.range(0)];
    Design design;
    FiveLayers(design);
    platform::QtFontEngine fonts;
    // A whole-page design: the printable page.
    DesignExportJob job = bench::ExportBenchJob(design, fonts, 600, QStringLiteral("zb-export-bench.%1").arg(kind));
    uint32_t seed = 1;
    for (auto _ : state) {
        job.seed = seed++;
        const std::string message = ExportDesign(job).message;
        if (!message.empty()) state.SkipWithError(message.c_str());
    }
    state.counters["file_MB"] = double(QFileInfo(QString::fromStdString(job.fileName)).size()) / 1e6;
    QFile::remove(QString::fromStdString(job.fileName));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    // Peak resident memory against one raster of the output size (96.8 MB).
    state.counters["peak_rss_rasters"] = double(usage.ru_maxrss) * 1024.0 / (4760.0 * 3 * 6779);
}
BENCHMARK(BM_ExportA4At600Dpi)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv) { return zb::bench::RunOffscreenBenchmarks(argc, argv); }
