#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// A table as read from a file: the header row and the data rows, each a list of cell texts.
// Rows may be shorter or longer than the header.
struct ImportTable {
    QStringList header;
    std::vector<QStringList> rows;
    QString encoding; // what the file was read as, shown to the user
};

// The table, or why the file cannot be read as one (in Russian, for the user).
struct TableRead {
    ImportTable table;
    QString error;
    bool ok() const { return error.isEmpty(); }
};
