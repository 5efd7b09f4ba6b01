#pragma once

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QByteArray>

#include "platform/Fonts.h"

// The main of a benchmark program that measures windows: an offscreen application with the
// program's fonts around Google Benchmark's own steps.
inline int runWidgetBenchmarks(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::installFonts();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
