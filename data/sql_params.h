#pragma once

#include <QString>
#include <QStringList>

// A statement with named parameters (":KOD", ":OLD_KOD") rewritten into the engine's
// positional form ("?"), with the names in the order of their places.
struct PositionalSql {
    QString sql;
    QStringList parameterNames;
};

// Names inside quoted literals and comments are left alone.
PositionalSql toPositionalSql(const QString &sql);
