#include "debts.h"

#include "date_time.h"
#include "fb_statement.h"
#include "money.h"
#include "payment_status.h"

#include <QHash>
#include <QVariant>

#include <algorithm>

void DebtAges::add(const DebtAges &other)
{
    notDue += other.notDue;
    days1to30 += other.days1to30;
    days31to60 += other.days31to60;
    days61to90 += other.days61to90;
    over90 += other.over90;
}

void addByAge(DebtAges &ages, int days, double amount)
{
    if (days <= 0)
        ages.notDue += amount;
    else if (days <= 30)
        ages.days1to30 += amount;
    else if (days <= 60)
        ages.days31to60 += amount;
    else if (days <= 90)
        ages.days61to90 += amount;
    else
        ages.over90 += amount;
}

namespace {

QString clientKey(const QString &name, const QString &biniin)
{
    return biniin.isEmpty() ? QStringLiteral("N:") + name : QStringLiteral("B:") + biniin;
}

void roundFigures(ClientDebt &client)
{
    for (double *figure : {&client.invoiced, &client.paid, &client.due, &client.ages.notDue,
                           &client.ages.days1to30, &client.ages.days31to60,
                           &client.ages.days61to90, &client.ages.over90})
        *figure = roundMoney(*figure);
}

} // namespace

Debts clientDebts(FbTransaction &transaction, QDate at)
{
    // Newest first, so that a client is named as its latest document names it.
    FbStatement statement(transaction);
    statement.prepare(
        QStringLiteral("select D.KOD, D.NAMEORG, D.BINIIN, %1, "
                       "(select round(coalesce(sum(P.AMOUNT), 0), 2) from PAYMENTS P "
                       "where P.KODDOCS = D.KOD and P.DATAOPL <= :NA), %2 "
                       "from DOCS D where D.DATASCH is null or D.DATASCH <= :NA "
                       "order by D.NUMSCH desc, D.KOD desc")
            .arg(payment_sql::amount(), payment_sql::dueDate()));
    statement.setParameter(QString::fromLatin1(payment_sql::kDateParameter), datetime::make(at));
    statement.execute();

    QHash<QString, int> indexOf;
    std::vector<ClientDebt> all;
    while (statement.fetch()) {
        const QString name = statement.value(1).toString().trimmed();
        const QString biniin = statement.value(2).toString().trimmed();
        const QString key = clientKey(name, biniin);
        auto found = indexOf.constFind(key);
        if (found == indexOf.cend()) {
            found = indexOf.insert(key, int(all.size()));
            all.push_back(ClientDebt{name, biniin});
        }
        ClientDebt &client = all[size_t(*found)];
        const double amount = statement.value(3).toDouble();
        const double paid = statement.value(4).toDouble();
        client.invoiced += amount;
        client.paid += paid;
        const double due = roundMoney(amount - paid);
        if (due < 0.005)
            continue;
        client.due += due;
        const QVariant dueDate = statement.value(5);
        addByAge(client.ages, dueDate.isNull() ? 0 : int(dueDate.toDateTime().date().daysTo(at)),
                 due);
        client.documents.push_back(statement.value(0).toInt());
    }

    Debts result;
    for (ClientDebt &client : all) {
        if (client.documents.empty())
            continue;
        roundFigures(client);
        std::reverse(client.documents.begin(), client.documents.end());
        result.total.invoiced += client.invoiced;
        result.total.paid += client.paid;
        result.total.due += client.due;
        result.total.ages.add(client.ages);
        result.clients.push_back(std::move(client));
    }
    roundFigures(result.total);
    std::sort(result.clients.begin(), result.clients.end(),
              [](const ClientDebt &a, const ClientDebt &b) {
                  return a.name != b.name ? a.name < b.name : a.biniin < b.biniin;
              });
    return result;
}
