#include "application.h"

#include <QApplication>
#include <QStandardPaths>

#include <benchmark/benchmark.h>

// Benchmarks that drive real windows need an application; offscreen unless
// the caller chose a platform.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    setUpApplication(app);
    // Styles chosen here stay out of the user's settings.
    QStandardPaths::setTestModeEnabled(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
