#pragma once

#include <functional>

// The main() of the benchmarks that show windows: runs the registered benchmarks inside a
// QApplication, offscreen unless QT_QPA_PLATFORM says otherwise. `russianLocale` sets the
// default locale the program's windows print numbers and dates in; `beforeQuit` frees what
// must go while the application still exists (windows kept between benchmarks).
int runWidgetBenchmarks(int argc, char **argv, bool russianLocale,
                        const std::function<void()> &beforeQuit = {});
