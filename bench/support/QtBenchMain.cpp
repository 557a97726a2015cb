#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>

// Widget benchmarks need a QApplication; without a display they run on the offscreen platform.
int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
