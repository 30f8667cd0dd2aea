#include "widget_bench_main.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLocale>

int runWidgetBenchmarks(int argc, char **argv, bool russianLocale,
                        const std::function<void()> &beforeQuit)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (russianLocale)
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (beforeQuit)
        beforeQuit();
    return 0;
}
