#pragma once

#include <QString>

// The large database of the benchmarks: 100,000 current documents, every form numbered,
// with three lines each, and one archived document with 1,000 lines. The file is generated
// once into the temporary folder (ZARNIK_BENCH_DB names another place) and reused.
constexpr int kBenchDocuments = 100'000;
constexpr int kBenchLinesPerDocument = 3;
constexpr int kLongDocument = kBenchDocuments + 1; // its KOD
constexpr int kLongDocumentLines = 1'000;

QString benchDatabase();
