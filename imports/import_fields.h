#pragma once

#include "checks/id_checks.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// What is imported: the catalogue of goods and services or the clients.
enum class ImportTarget { Goods, Clients };

// An e-mail address is text kept in the program's own table of addresses, not in the client's
// row; one that does not look like an address is marked, not refused, as where it is typed.
enum class FieldKind { Text, Number, Kind, Email };

// A field a file's column can be mapped to: the database column it fills, the name the user
// knows it by, and the header texts (lower case) that are taken for it.
struct ImportField {
    QString column;
    QString caption;
    FieldKind kind = FieldKind::Text;
    bool required = false;
    std::optional<IdKind> id;
    QStringList headers;
};

// Text columns of both tables hold up to 256 characters.
inline constexpr int kTextColumnSize = 256;

const std::vector<ImportField> &importFields(ImportTarget target);
// The field that names a row, by which rows already in the database are found.
QString nameColumn(ImportTarget target);
// The tab captions of the kinds: "Товары", "Услуги", "Прочее" or the client kinds.
QStringList kindCaptions(ImportTarget target);
