#pragma once

#include "data/server_location.h"

#include <QString>

// The benchmarks' databases on the local Firebird server (scripts/firebird_server).

// Who the benchmarks connect as: ISC_USER/ISC_PASSWORD, else the tests' user.
database::Credentials benchServerUser();

// The folder the server keeps the benchmarks' databases in: ZARNIK_BENCH_SERVER_DIR, else
// /var/tmp/zarnik-bench. The server runs as its own user, so the folder must be one it can
// reach and write (a home folder usually is not), and it outlives the temporary folder, so
// the large database is generated once.
QString serverBenchFolder();

// The server's copy of the register's large database: the same 100,000 current documents with
// three lines each and the archived document of 1,000 lines as the file benchmarks use
// (bench_database.h), and the documents' 977 clients and as many goods listed; generated on the
// server itself by one statement the first time.
QString serverRegisterDatabase();

// How a client reaches `path` on the local server through a relay listening on `port`.
QString serverLocation(const QString &path, int port = 3050);
