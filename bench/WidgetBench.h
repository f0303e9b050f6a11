#pragma once
// The run of the benchmarks that measure the program's own widgets: Google Benchmark inside a
// QApplication on the "offscreen" platform, unless QT_QPA_PLATFORM names another.
#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <functional>

namespace mrv::bench {

// Runs the benchmarks the command line asks for; 1 on an argument it does not know.
// `beforeExit` runs while the application still exists, for what must end before it does.
inline int RunWidgetBenchmarks(int argc, char** argv, const std::function<void()>& beforeExit = {})
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int qargc = 1;
    QApplication qapp(qargc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (beforeExit)
        beforeExit();
    return 0;
}

} // namespace mrv::bench
