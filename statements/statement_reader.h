#pragma once

#include "statement.h"

#include <QByteArray>
#include <QStringList>

#include <variant>

// Why a statement file was refused: the line at fault (0 for the file as a whole) and the reason.
struct StatementRefusal {
    int line = 0;
    QString reason;

    // "строка 12: сумма «1,2,3» не число"
    QString text() const;
};

// Reads a statement file's bytes: in Windows-1251 (read as KZ-1048) or UTF-8 with or without a
// byte order mark, whatever its header declares; keys and markers in any letter case; lines
// ending in CRLF or LF, with leading blanks. `ownAccounts` are the business's accounts: money
// between two of them is an own transfer. Decodes line by line, so that a large file is not
// held twice. Refuses the whole file at its first fault.
std::variant<Statement, StatementRefusal> readStatement(const QByteArray &bytes,
                                                        const QStringList &ownAccounts);
