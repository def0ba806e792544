// A 100 x 100 cm sheet's worth of rows (20000 x 20000 by default) written
// band by band, 1000 rows at a time, as a large export writes them: the same
// generated band over and over, so only the encoder and the file are timed.
// Run one format at a time under `/usr/bin/time -v` for the peak memory; the
// counter peak_rss_MB says the same from inside. ZB_STREAM_SIDE sets another
// size, ZB_BENCH_DIR another folder than the system's temporary one.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>
#include <sys/resource.h>

#include "base/DibPicture.h"
#include "output/RasterFileStream.h"
#include "OffscreenBenchMain.h"

namespace {

using namespace zb;

// arg: 0 PNG, 1 PDF, 2 TIFF, 3 JPEG, 4 BMP.
void BM_StreamSheetInBands(benchmark::State& state) {
    static const char* const kinds[] = {"png", "pdf", "tif", "jpg", "bmp"};
    const char* kind = kinds[state.range(0)];
    const int side = qEnvironmentVariableIsSet("ZB_STREAM_SIDE") ? qEnvironmentVariableIntValue("ZB_STREAM_SIDE") : 20000;
    const int bandRows = 1000;
    // Soft waves with a little grain: neither flat nor noise.
    DibPicture band(side, bandRows, 24);
    const RasterView rows = ViewOf(band.dib());
    for (int y = 0; y < bandRows; ++y)
        for (int x = 0; x < side; ++x) {
            uint8_t* p = rows.pixel(x, y);
            p[0] = uint8_t((x / 7 + y / 3) ^ (x * y >> 9));
            p[1] = uint8_t(x / 80 + (y & 15));
            p[2] = uint8_t(200 - y / 5 + ((x * 13) & 7));
        }
    const QString folder = qEnvironmentVariableIsSet("ZB_BENCH_DIR") ? qEnvironmentVariable("ZB_BENCH_DIR")
                                                                     : QDir::tempPath();
    const std::string file = QDir(folder).filePath(QStringLiteral("zb-stream-bench.%1").arg(kind)).toStdString();
    for (auto _ : state) {
        RasterFileStream stream(file, kind, side, side, 600);
        std::string message = stream.Begin();
        for (int y = 0; message.empty() && y < side; y += bandRows)
            message = stream.AddRows(RasterView{rows.data, rows.strideBytes, side, std::min(bandRows, side - y)});
        if (message.empty()) message = stream.Finish();
        if (!message.empty()) state.SkipWithError(message.c_str());
    }
    state.counters["file_MB"] = double(QFileInfo(QString::fromStdString(file)).size()) / 1e6;
    QFile::remove(QString::fromStdString(file));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_StreamSheetInBands)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char** argv) { return zb::bench::RunOffscreenBenchmarks(argc, argv); }
