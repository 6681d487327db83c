// The main of benchmarks whose code needs a Qt application (event loop, coroutines); widget
// benchmarks get a widget application, drawn offscreen unless a platform is named.
#ifdef TEMPOLANE_BENCHMARK_WIDGETS
#include <QApplication>
using Application = QApplication;
#else
#include <QCoreApplication>
using Application = QCoreApplication;
#endif
#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
#ifdef TEMPOLANE_BENCHMARK_WIDGETS
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
