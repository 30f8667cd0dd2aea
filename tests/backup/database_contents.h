#pragma once

#include "backup/database_backup.h"

#include <QString>
#include <QStringList>

// Every row of every table and every generator of the database at `location`, as text: two
// databases holding the same data give the same list. (The file's bytes change at every
// attachment, so they cannot tell.)
QStringList contents(const QString &location,
                     const zbackup::Credentials &credentials = zbackup::embeddedCredentials());

// Runs `statements` in one transaction.
void execute(const QString &location, const QStringList &statements,
             const zbackup::Credentials &credentials = zbackup::embeddedCredentials());
