#pragma once
// The export job of the export benchmarks: the A4 printable page at 600 dpi,
// a 30 % preview's filter scale, the file in the system's temporary folder
// (ZB_BENCH_DIR for another one).
#include <QDir>
#include <QString>

#include "output/DesignPrinting.h"

namespace zb::bench {

// Where the benchmarks write their files.
inline QString BenchFolder() {
    return qEnvironmentVariableIsSet("ZB_BENCH_DIR") ? qEnvironmentVariable("ZB_BENCH_DIR") : QDir::tempPath();
}

inline DesignExportJob ExportBenchJob(const Design& design, FontEngine& fonts, double dpi, const QString& fileName) {
    DesignExportJob job;
    job.design = &design;
    job.fonts = &fonts;
    job.dpi = dpi;
    job.page = PrintablePage{4760, 6779, 600, 600}; // A4 printable page
    job.zoomPercent = 30;
    job.fileName = QDir(BenchFolder()).filePath(fileName).toStdString();
    return job;
}

} // namespace zb::bench
