#pragma once

#include <QString>

#include <functional>

class FbConnection;

// The large database of the benchmarks: 100,000 current documents, every form numbered,
// with three lines each, and one archived document with 1,000 lines. The file is generated
// once into the temporary folder (ZARNIK_BENCH_DB names another place) and reused.
constexpr int kBenchDocuments = 100'000;
constexpr int kBenchLinesPerDocument = 3;
constexpr int kLongDocument = kBenchDocuments + 1; // its KOD
constexpr int kLongDocumentLines = 1'000;

QString benchDatabase();

// A database file generated once by `fill` and reused: at the path in the environment
// variable `pathVariable`, else `fileName` in the temporary folder. A run broken off
// leaves only a ".part" file behind, so a half-filled database is never reused.
QString generatedDatabase(const char *pathVariable, const QString &fileName,
                          const std::function<void(FbConnection &)> &fill);

// Runs one statement in a transaction of its own (setting a generator after the fill).
void runStatement(FbConnection &connection, const QString &sql);
