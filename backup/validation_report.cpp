#include "validation_report.h"

#include <QRegularExpression>

#include <vector>

namespace zbackup {

namespace {

const QRegularExpression &timeStamp()
{
    static const QRegularExpression stamp(QStringLiteral("^\\d{2}:\\d{2}:\\d{2}\\.\\d+\\s+"));
    return stamp;
}

// "Relation 135 (REKVIZITY) : 2 ERRORS found": the faults above it were in that table.
const QRegularExpression &tableSummary()
{
    static const QRegularExpression summary(
        QStringLiteral("^Relation \\d+ \\((.+)\\) : (\\d+) ERRORS found"));
    return summary;
}

struct Meaning {
    QRegularExpression engine;
    QString plain; // %1 is the engine's first number
};

// The engine's words for a fault, most common first; others are shown as the engine wrote.
const std::vector<Meaning> &meanings()
{
    static const std::vector<Meaning> table = [] {
        const auto rule = [](const char *pattern, const char *plain) {
            return Meaning{QRegularExpression(QString::fromUtf8(pattern)),
                           QString::fromUtf8(plain)};
        };
        return std::vector<Meaning>{
            rule("^Error: Page (\\d+) wrong type",
                 "страница %1 испорчена: на её месте чужие данные"),
            rule("^Error: Data page (\\d+) \\{sequence \\d+\\} is confused",
                 "страница данных %1 не читается"),
            rule("^Error: Data page (\\d+) \\{sequence \\d+\\}, line \\d+ is bad",
                 "испорчена запись на странице данных %1"),
            rule("^Error: Index (\\d+) is corrupt",
                 "испорчен индекс %1: поиск и порядок строк могут быть неверными"),
            rule("^Error: (?:Chain for record|Fragmented record|Record) (\\d+) "
                 "(?:is broken|is corrupt|is wrong length|is marked as damaged)",
                 "испорчена запись %1"),
            rule("^Error: Record (\\d+) has bad transaction",
                 "запись %1 ссылается на неизвестную транзакцию"),
            rule("^Error: Blob (\\d+) is corrupt", "испорчено содержимое большого поля %1"),
            rule("^Error: Pointer page.*(?:lost|inconsistent)",
                 "испорчен перечень страниц таблицы"),
            rule("^Error: Transaction inventory page", "испорчен учёт транзакций базы данных"),
            rule("^(?:Error|Warning): Page (\\d+) (?:is an orphan|doubly allocated|is used but "
                 "marked free)",
                 "страница %1 учтена неверно (занимает место, данные не затронуты)"),
        };
    }();
    return table;
}

QString plainWords(const QString &fault)
{
    for (const Meaning &meaning : meanings()) {
        const QRegularExpressionMatch match = meaning.engine.match(fault);
        if (match.hasMatch())
            return meaning.plain.contains(QLatin1String("%1"))
                       ? meaning.plain.arg(match.captured(1))
                       : meaning.plain;
    }
    if (fault.startsWith(QLatin1String("Warning: ")))
        return QStringLiteral("предупреждение: ") + fault.mid(9);
    return fault.startsWith(QLatin1String("Error: ")) ? fault.mid(7) : fault;
}

void appendOnce(QStringList &list, const QString &item)
{
    if (!list.contains(item))
        list << item;
}

} // namespace

QStringList validationFaults(const QStringList &output)
{
    static const QRegularExpression fault(
        QStringLiteral("error|corrupt|wrong|damaged|missing|warning"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression noFault(QStringLiteral("\\b0 errors\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    QStringList faults;
    for (QString line : output) {
        line = line.trimmed().remove(timeStamp());
        if (line.contains(fault) && !line.contains(noFault))
            faults << line;
    }
    return faults;
}

QString validationReport(const QStringList &faults)
{
    if (faults.isEmpty())
        return QStringLiteral("ошибок не найдено");
    QStringList told;
    QStringList pending; // the plain words of faults whose table is not yet named
    for (const QString &fault : faults) {
        const QRegularExpressionMatch summary = tableSummary().match(fault);
        if (!summary.hasMatch()) {
            appendOnce(pending, plainWords(fault));
            continue;
        }
        QString line = QStringLiteral("— таблица %1 (ошибок: %2)")
                           .arg(summary.captured(1), summary.captured(2));
        if (!pending.isEmpty())
            line += QStringLiteral(": ") + pending.join(QStringLiteral("; "));
        told << line + u'.';
        pending.clear();
    }
    for (const QString &rest : std::as_const(pending))
        told << QStringLiteral("— ") + rest + u'.';
    return QStringLiteral("В базе данных найдены повреждения:\n") + told.join(u'\n') +
           QStringLiteral("\nДанные этих таблиц могут читаться неверно или не читаться вовсе. "
                          "Восстановите базу данных из последней резервной копии («Сервис» → "
                          "«Восстановить из копии...»).\n\nСообщения проверки:\n") +
           faults.join(u'\n');
}

} // namespace zbackup
