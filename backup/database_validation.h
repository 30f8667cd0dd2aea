#pragma once

#include "database_backup.h"

#include <QString>
#include <QStringList>

// The engine's validation of a Zarnik database, told in plain words (validation_report).
namespace zbackup {

struct Validation {
    bool checked = false; // false when the validation could not run (see `message`)
    QStringList findings; // the engine's lines that report a fault; empty when sound
    QString message;      // the result in plain words
};

// Runs the engine's validation of the database at `location` (it may be open).
Validation validateDatabase(const QString &location,
                            const Credentials &credentials = embeddedCredentials());

} // namespace zbackup
