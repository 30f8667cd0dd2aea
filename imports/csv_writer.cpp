#include "csv_writer.h"

#include "data/fb_statement.h"

namespace {

QString csvField(const QString &text)
{
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r') && text.trimmed() == text)
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString cellText(const QVariant &value, FieldKind kind)
{
    if (value.isNull())
        return {};
    if (kind == FieldKind::Number)
        return QString::number(value.toDouble(), 'g', 15).replace(u'.', u',');
    return value.toString();
}

} // namespace

QByteArray csvRecord(const QStringList &fields)
{
    QStringList quoted;
    for (const QString &field : fields)
        quoted << csvField(field);
    return quoted.join(u';').toUtf8() + "\r\n";
}

QByteArray exportCsv(FbTransaction &transaction, ImportTarget target, int kind)
{
    std::vector<const ImportField *> fields;
    QStringList header, columns;
    for (const ImportField &field : importFields(target)) {
        if (field.kind == FieldKind::Kind)
            continue; // the list shown is of one kind; the import takes it from the tab
        fields.push_back(&field);
        header << field.caption;
        columns << field.column;
    }
    QByteArray csv = "\xEF\xBB\xBF" + csvRecord(header);
    if (!transaction.isActive())
        transaction.start();
    FbStatement select(transaction);
    select.prepare(QStringLiteral("select %1 from %2 where TIP = :TIP order by %3, KOD")
                       .arg(columns.join(QStringLiteral(", ")),
                            target == ImportTarget::Goods ? QStringLiteral("NOMENKLOTURA")
                                                          : QStringLiteral("CLIENTS"),
                            nameColumn(target)));
    select.setParameter(QStringLiteral("TIP"), kind);
    select.execute();
    while (select.fetch()) {
        QStringList cells;
        for (size_t c = 0; c < fields.size(); ++c)
            cells << cellText(select.value(int(c)), fields[c]->kind);
        csv += csvRecord(cells);
    }
    return csv;
}
