#pragma once

// The main() of the report benchmarks: runs the registered benchmarks inside a
// QGuiApplication (the fonts need one), offscreen unless QT_QPA_PLATFORM says otherwise, with
// the Russian locale the forms print numbers and dates in.
int runReportBenchmarks(int argc, char **argv);
