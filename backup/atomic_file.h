#pragma once

#include <QString>

// Files written whole or not at all: written under a temporary name beside the final one
// ("FILE.part-<pid>-<random>") and renamed over it only when complete and on the disk.
namespace zbackup {

// ".KIND-<pid>-<random>": a name nothing has yet, and whose writer can later be told.
QString uniqueSuffix(const QString &kind);

// A name beside `path` that nothing has yet, "PATH.KIND-<pid>-<random>": the engine refuses to
// restore over a file.
QString temporaryPathBeside(const QString &path, const QString &kind);

// A name not yet taken: `base`, else `base-2`, `base-3`…
QString freeName(const QString &base);

// Removes the files "PATH.KIND-<pid>-…" beside `path` whose writing process is gone: a restore
// killed half-way leaves its unfinished database there, as large as the data it had written,
// and nothing else would ever remove it.
void removeAbandoned(const QString &path, const QString &kind);

// A file and its folder flushed to the disk, so that a rename never publishes a file whose
// contents are still only in memory when the power goes.
bool flushToDisk(const QString &path);

} // namespace zbackup
