#include "csv_writer.h"

#include "data/fb_statement.h"
#include "data/program_tables.h"

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
    if (!transaction.isActive())
        transaction.start();
    // The addresses are joined from the program's own table, where the database has it.
    const bool hasEmails = tableExists(transaction, "EMAILS");
    std::vector<const ImportField *> fields;
    QStringList header, columns;
    for (const ImportField &field : importFields(target)) {
        if (field.kind == FieldKind::Kind)
            continue; // the list shown is of one kind; the import takes it from the tab
        fields.push_back(&field);
        header << field.caption;
        if (field.kind != FieldKind::Email)
            columns << QStringLiteral("T.") + field.column;
        else
            columns << (hasEmails ? QStringLiteral("E.ADDRESS")
                                  : QStringLiteral("CAST(NULL AS VARCHAR(256))"));
    }
    QByteArray csv = "\xEF\xBB\xBF" + csvRecord(header);
    FbStatement select(transaction);
    select.prepare(QStringLiteral("select %1 from %2 T %3 where T.TIP = :TIP order by T.%4, T.KOD")
                       .arg(columns.join(QStringLiteral(", ")),
                            target == ImportTarget::Goods ? QStringLiteral("NOMENKLOTURA")
                                                          : QStringLiteral("CLIENTS"),
                            target == ImportTarget::Clients && hasEmails
                                ? QStringLiteral("left join EMAILS E on "
                                                 "E.OWNER = cast(T.KOD as varchar(32))")
                                : QString(),
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
