#pragma once

#include "data/fb_connection.h"
#include "data/fb_statement.h"

#include <QStringList>

// The first row of `sql`, read in a transaction of its own, each value as text ("null" for
// none); empty when there is no row.
inline QStringList storedRow(FbConnection &connection, const QString &sql)
{
    FbTransaction transaction(connection);
    transaction.start();
    FbStatement statement(transaction);
    statement.prepare(sql);
    statement.execute();
    QStringList values;
    if (statement.fetch()) {
        for (int c = 0; c < statement.columnCount(); ++c)
            values << (statement.value(c).isNull() ? QStringLiteral("null")
                                                   : statement.value(c).toString().trimmed());
    }
    statement.closeCursor();
    return values;
}
