#include "debtor_documents.h"

#include "date_time.h"
#include "fb_statement.h"
#include "money.h"
#include "payment_status.h"

#include <QHash>
#include <QStringList>
#include <QVariant>

#include <algorithm>

namespace {

// The engine takes at most 1,500 values in one IN list.
constexpr size_t kKodsPerStatement = 500;

} // namespace

std::vector<DocumentDebt> documentDebts(FbTransaction &transaction, const std::vector<int> &kods,
                                        QDate at)
{
    QHash<int, DocumentDebt> read;
    for (size_t start = 0; start < kods.size(); start += kKodsPerStatement) {
        QStringList list;
        for (size_t i = start; i < std::min(kods.size(), start + kKodsPerStatement); ++i)
            list << QString::number(kods[i]);
        FbStatement statement(transaction);
        statement.prepare(QStringLiteral("select D.KOD, D.NUMSCH, D.DATASCH, %1, "
                                         "(select coalesce(sum(P.AMOUNT), 0) from PAYMENTS P "
                                         "where P.KODDOCS = D.KOD and P.DATAOPL <= :%2), %3 "
                                         "from DOCS D where D.KOD in (%4)")
                              .arg(payment_sql::amount(),
                                   QString::fromLatin1(payment_sql::kDateParameter),
                                   payment_sql::dueDate(), list.join(QLatin1Char(','))));
        statement.setParameter(QString::fromLatin1(payment_sql::kDateParameter),
                               datetime::make(at));
        statement.execute();
        while (statement.fetch()) {
            DocumentDebt document;
            document.kod = statement.value(0).toInt();
            document.number = statement.value(1).toInt();
            document.date = statement.value(2).toDateTime().date();
            document.amount = roundMoney(statement.value(3).toDouble());
            document.paid = roundMoney(statement.value(4).toDouble());
            document.due = std::max(0.0, roundMoney(document.amount - document.paid));
            if (const QVariant due = statement.value(5); !due.isNull()) {
                document.dueDate = due.toDateTime().date();
                document.daysOverdue = std::max<int>(0, int(document.dueDate->daysTo(at)));
            }
            read.insert(document.kod, document);
        }
    }
    std::vector<DocumentDebt> documents;
    for (int kod : kods) {
        if (const auto found = read.constFind(kod); found != read.cend())
            documents.push_back(*found);
    }
    return documents;
}
