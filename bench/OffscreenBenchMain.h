#pragma once
// main() of the benchmarks that draw, print or export through Qt Gui: they
// run on the offscreen platform, so they need no display.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

namespace zb::bench {

inline int RunOffscreenBenchmarks(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace zb::bench
