#pragma once

#include <QString>

// The statements with which the client list and the goods list show one kind of row; the
// kind is a number, so it is part of the statement text, while the order column is one of
// the list's own column names.
QString clientsOfKindSql(int kind, const QString &orderColumn = QStringLiteral("nameORG"));
QString nomenklOfKindSql(int kind, const QString &orderColumn = QStringLiteral("name"));
