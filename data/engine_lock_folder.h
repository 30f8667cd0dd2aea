#pragma once

#include <QString>

#include <sys/types.h>

// The folder where the embedded engine keeps its lock files. A folder another local user
// made first under a predictable name would lock its owner out of their own database, or let
// that user tamper with the locks; so a folder is taken only when it is this user's own and
// nobody else may write into it.
namespace engine_lock {

// True when `path` is a real folder (not a link to one) owned by `uid` that neither its group
// nor others may write into.
bool isPrivateFolder(const QString &path, uid_t uid);

struct Places {
    QString requested; // FIREBIRD_LOCK as the user set it, or empty
    QString runtime;   // XDG_RUNTIME_DIR, or empty
    QString temp;      // the system's temporary folder
    QString cache;     // the user's cache folder
    uid_t uid = 0;
};

// The first private folder of: the requested one; "zarnik-firebird-UID" under the runtime
// folder, else under the temporary folder; "zarnik-firebird" under the cache folder; a fresh
// folder of a unique name under the temporary folder. The named folders are made (mode 0700)
// when missing. Empty only when none of these could be made.
QString chooseFolder(const Places &places);

// The places of this process (its environment and user).
Places currentPlaces();

} // namespace engine_lock
