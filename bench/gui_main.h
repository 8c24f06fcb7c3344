#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>

namespace faultscope::bench {

// The body of main() for benchmarks of windows: off screen unless a display platform is chosen,
// and under the program's name, so that settings are found where the program keeps them.
inline int RunWithWindows(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Faultscope");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace faultscope::bench
