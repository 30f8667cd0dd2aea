#pragma once

#include "import_fields.h"

#include <QString>
#include <QStringList>

#include <map>
#include <optional>

// Which column of the file (0-based) fills which field (by database column name).
using ColumnMapping = std::map<QString, int>;

// Each field whose header text is one of its known ones; a column is given to one field only.
ColumnMapping guessMapping(ImportTarget target, const QStringList &header);

// "NAME=Наименование;CENA=3": each field with a header text or a 1-based column number.
// The text that QSettings and the command line keep.
QString mappingToText(const ColumnMapping &mapping, const QStringList &header);

struct MappingRead {
    ColumnMapping mapping;
    QString error;
};
MappingRead mappingFromText(ImportTarget target, const QString &text, const QStringList &header);
