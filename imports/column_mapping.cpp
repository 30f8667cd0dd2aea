#include "column_mapping.h"

#include <set>

namespace {

QString normalisedHeader(const QString &text)
{
    return text.simplified().toLower();
}

std::optional<int> columnByHeader(const QStringList &header, const QString &title)
{
    for (int c = 0; c < header.size(); ++c) {
        if (normalisedHeader(header[c]) == normalisedHeader(title))
            return c;
    }
    return std::nullopt;
}

bool isField(ImportTarget target, const QString &column)
{
    for (const ImportField &field : importFields(target)) {
        if (field.column == column)
            return true;
    }
    return false;
}

} // namespace

ColumnMapping guessMapping(ImportTarget target, const QStringList &header)
{
    ColumnMapping mapping;
    std::set<int> taken;
    for (const ImportField &field : importFields(target)) {
        for (const QString &known : field.headers) {
            const std::optional<int> column = columnByHeader(header, known);
            if (column && !taken.contains(*column)) {
                mapping[field.column] = *column;
                taken.insert(*column);
                break;
            }
        }
    }
    return mapping;
}

QString mappingToText(const ColumnMapping &mapping, const QStringList &header)
{
    QStringList parts;
    for (const auto &[field, column] : mapping) {
        const QString title = header.value(column);
        const bool byTitle = !title.isEmpty() && !title.contains(u';') && !title.contains(u'=') &&
                             columnByHeader(header, title) == column;
        parts << field + u'=' + (byTitle ? title : QString::number(column + 1));
    }
    return parts.join(u';');
}

MappingRead mappingFromText(ImportTarget target, const QString &text, const QStringList &header)
{
    MappingRead read;
    for (const QString &part : text.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf(u'=');
        const QString field = part.left(eq).trimmed().toUpper();
        const QString where = part.mid(eq + 1).trimmed();
        if (eq < 0 || !isField(target, field)) {
            read.error = QStringLiteral("Неизвестное поле в сопоставлении столбцов: %1").arg(part);
            return read;
        }
        bool number = false;
        const int columnNumber = where.toInt(&number);
        if (number && columnNumber >= 1 && columnNumber <= header.size()) {
            read.mapping[field] = columnNumber - 1;
        } else if (const std::optional<int> column = columnByHeader(header, where)) {
            read.mapping[field] = *column;
        } else {
            read.error = QStringLiteral("В файле нет столбца «%1» для поля %2").arg(where, field);
            return read;
        }
    }
    return read;
}
