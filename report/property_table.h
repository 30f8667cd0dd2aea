#pragma once

#include "property_values.h"

#include <QHash>
#include <QString>

#include <functional>
#include <initializer_list>
#include <optional>

// The stored properties of one class as a table: each row names a property and says how its
// value is read and where it goes. A row whose name ends in ".*" takes every property of a
// nested record ("Frame.Width", "Frame.LeftLine.Color").
namespace zreport {

template <typename C> class PropertyTable {
public:
    // `name` is the property's full name for messages; false with a reason in *error.
    using Setter =
        std::function<bool(C &object, const QString &name, const QString &value, QString *error)>;
    // For a "prefix.*" row: `rest` is what follows the prefix's dot.
    using NestedSetter = std::function<bool(C &object, const QString &rest, const QString &name,
                                            const QString &value, QString *error)>;
    struct Row {
        const char *name;
        Setter set;
        NestedSetter nested = {};
    };

    PropertyTable(std::initializer_list<Row> rows)
    {
        for (const Row &row : rows)
            m_rows.insert(QString::fromLatin1(row.name), row);
    }

    // Assigns the property `key` (the name within this table); nullopt when there is no such
    // property.
    std::optional<bool> assign(C &object, const QString &key, const QString &name,
                               const QString &value, QString *error) const
    {
        const auto exact = m_rows.constFind(key);
        if (exact != m_rows.constEnd() && exact->set)
            return exact->set(object, name, value, error);
        const qsizetype dot = key.indexOf(QLatin1Char('.'));
        if (dot <= 0 || dot + 1 == key.size())
            return std::nullopt;
        const auto nested = m_rows.constFind(key.left(dot + 1) + QLatin1Char('*'));
        if (nested == m_rows.constEnd() || !nested->nested)
            return std::nullopt;
        return nested->nested(object, key.mid(dot + 1), name, value, error);
    }

private:
    QHash<QString, Row> m_rows;
};

namespace property {

inline bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

// A row storing parse(value) in a member; parse returns std::optional of the member's type.
template <typename C, typename M, typename T, typename Parse>
typename PropertyTable<C>::Row field(const char *name, T M::*member, Parse parse)
{
    return {name,
            [member, parse](C &object, const QString &full, const QString &value, QString *error) {
                const auto parsed = parse(value);
                if (!parsed)
                    return fail(error, badValueMessage(full, value));
                object.*member = T(*parsed);
                return true;
            }};
}

// The same for a member of a record the object holds (a page's settings).
template <typename C, typename M, typename R, typename T, typename Parse>
typename PropertyTable<C>::Row field(const char *name, R M::*record, T R::*member, Parse parse)
{
    return {name, [record, member, parse](C &object, const QString &full, const QString &value,
                                          QString *error) {
                const auto parsed = parse(value);
                if (!parsed)
                    return fail(error, badValueMessage(full, value));
                (object.*record).*member = T(*parsed);
                return true;
            }};
}

// A row passing parse(value) to a setter that keeps related members in step.
template <typename C, typename M, typename A, typename Parse>
typename PropertyTable<C>::Row setter(const char *name, void (M::*set)(A), Parse parse)
{
    return {name,
            [set, parse](C &object, const QString &full, const QString &value, QString *error) {
                const auto parsed = parse(value);
                if (!parsed)
                    return fail(error, badValueMessage(full, value));
                (object.*set)(*parsed);
                return true;
            }};
}

// A row "prefix.*" handing the rest of the name to the nested record's table; unknown names
// are reported as properties of `recordClass`.
template <typename C, typename M, typename R>
typename PropertyTable<C>::Row record(const char *rowName, R M::*member,
                                      const PropertyTable<R> &table, const QString &recordClass)
{
    return {rowName,
            {},
            [member, &table, recordClass](C &object, const QString &rest, const QString &full,
                                          const QString &value, QString *error) {
                const auto done = table.assign(object.*member, rest, full, value, error);
                if (!done)
                    return fail(error, unknownPropertyMessage(full, recordClass));
                return *done;
            }};
}

// Readers for rows.
inline std::optional<QString> anyText(const QString &value)
{
    return value;
}
inline std::optional<QString> nonBlank(const QString &value)
{
    return value.trimmed().isEmpty() ? std::nullopt : std::optional(value);
}
template <typename E> auto enumeration(const QStringList &(*names)())
{
    return [names](const QString &value) -> std::optional<E> {
        const auto index = parseEnum(value, names());
        return index ? std::optional(E(*index)) : std::nullopt;
    };
}
template <typename T> auto inRange(std::optional<T> (*parse)(const QString &), T low, T high)
{
    return [parse, low, high](const QString &value) -> std::optional<T> {
        const auto v = parse(value);
        return v && *v >= low && *v <= high ? v : std::nullopt;
    };
}

} // namespace property

} // namespace zreport
