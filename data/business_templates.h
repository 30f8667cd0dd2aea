#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

class FbTransaction;

// The business's own versions of the printed forms' templates, kept in a table of the program's
// own (TEMPLATES, see program_tables.h) so that every computer of an office prints the same
// form: one row per template name, its body the template's bytes exactly as the template reader
// takes them. A name without a row prints the built-in template.
namespace business_templates {

// A stored template is a few hundred kilobytes at most; anything much larger is not one.
inline constexpr qsizetype kMaxBytes = 16 * 1024 * 1024;

struct StoredTemplate {
    QString name;
    QString changedBy;
    QDateTime changedAt;
};

// The stored body of name; nullopt when the business keeps none, or the database has no table
// of templates yet. Throws DbError when the stored value is too large to be one.
std::optional<QByteArray> body(FbTransaction &transaction, const QString &name);
// Every template the business keeps, by name, with who stored it last and when.
std::vector<StoredTemplate> list(FbTransaction &transaction);
// Both throw DbError, with the cure in words, when the database has no table of templates.
void store(FbTransaction &transaction, const QString &name, const QByteArray &body);
void remove(FbTransaction &transaction, const QString &name);

} // namespace business_templates
