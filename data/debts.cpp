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
    for (double *figure : {&client.invoiced, &client.paid, &client.due, &client.advance,
                           &client.ages.notDue, &client.ages.days1to30, &client.ages.days31to60,
                           &client.ages.days61to90, &client.ages.over90})
        *figure = roundMoney(*figure);
}

} // namespace

namespace {

// Each document's sum of a grouped select of (KODDOCS, value), rounded to tiyn.
QHash<int, double> sumsByDocument(FbTransaction &transaction, const QString &sql, QDate at)
{
    FbStatement statement(transaction);
    statement.prepare(sql);
    if (!statement.parameterNames().isEmpty())
        statement.setParameter(QString::fromLatin1(payment_sql::kDateParameter),
                               datetime::make(at));
    statement.execute();
    QHash<int, double> sums;
    while (statement.fetch())
        sums.insert(statement.value(0).toInt(), roundMoney(statement.value(1).toDouble()));
    return sums;
}

} // namespace

Debts clientDebts(FbTransaction &transaction, QDate at)
{
    // Four plain reads joined here: one pass over each table, where a subquery per document
    // would look each one up again.
    const QHash<int, double> amounts = sumsByDocument(
        transaction,
        QStringLiteral("select KODDOCS, sum(STREALIZ) from DETAILDOCS group by KODDOCS"), at);
    const QHash<int, double> paidSums = sumsByDocument(
        transaction,
        QStringLiteral("select KODDOCS, sum(AMOUNT) from PAYMENTS where DATAOPL <= :NA "
                       "group by KODDOCS"),
        at);
    QHash<int, QDate> dueDates;
    {
        FbStatement statement(transaction);
        statement.prepare(QStringLiteral("select KODDOCS, SROK from DUEDATES"));
        statement.execute();
        while (statement.fetch())
            dueDates.insert(statement.value(0).toInt(), statement.value(1).toDateTime().date());
    }

    // In no order: sorting them all would cost more than placing each here. A client is named as
    // its latest document (by invoice number) names it.
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral("select KOD, NAMEORG, BINIIN, NUMSCH from DOCS "
                                     "where DATASCH is null or DATASCH <= :NA"));
    statement.setParameter(QString::fromLatin1(payment_sql::kDateParameter), datetime::make(at));
    statement.execute();

    QHash<QString, int> indexOf;
    std::vector<ClientDebt> all;
    std::vector<std::pair<int, int>> latest;                 // per client: NUMSCH, KOD
    std::vector<std::vector<std::pair<int, int>>> documents; // per client: NUMSCH, KOD
    const auto clientIndex = [&](const QString &name, const QString &biniin,
                                 std::pair<int, int> order) {
        auto found = indexOf.constFind(clientKey(name, biniin));
        if (found == indexOf.cend()) {
            found = indexOf.insert(clientKey(name, biniin), int(all.size()));
            ClientDebt named;
            named.name = name;
            named.biniin = biniin;
            all.push_back(std::move(named));
            latest.push_back(order);
            documents.emplace_back();
        }
        return size_t(*found);
    };
    while (statement.fetch()) {
        const int kod = statement.value(0).toInt();
        const QString name = statement.value(1).toString().trimmed();
        const QString biniin = statement.value(2).toString().trimmed();
        const std::pair<int, int> order{statement.value(3).toInt(), kod};
        const size_t index = clientIndex(name, biniin, order);
        ClientDebt &client = all[index];
        if (order > latest[index]) {
            latest[index] = order;
            client.name = name;
        }
        const double amount = amounts.value(kod);
        const double paid = paidSums.value(kod);
        client.invoiced += amount;
        client.paid += paid;
        const double due = roundMoney(amount - paid);
        if (due < 0.005)
            continue;
        client.due += due;
        const auto dueDate = dueDates.constFind(kod);
        addByAge(client.ages, dueDate == dueDates.cend() ? 0 : int(dueDate->daysTo(at)), due);
        documents[index].push_back(order);
    }

    // A payer known only from the bank is named as its payment order names it.
    FbStatement advances(transaction);
    advances.prepare(QStringLiteral(
        "select O.PAYER_NAME, O.PAYER_BIN, O.AMOUNT - coalesce((select sum(P.AMOUNT) "
        "from PAYMENTS P where P.OPERATION = O.KOD and P.DATAOPL <= :NA), 0) "
        "from BANK_OPERATIONS O where O.STATE = 1 and coalesce(O.DATEOPER, O.DATEDOC) <= :NA"));
    advances.setParameter(QString::fromLatin1(payment_sql::kDateParameter), datetime::make(at));
    advances.execute();
    while (advances.fetch()) {
        const size_t index = clientIndex(advances.value(0).toString().trimmed(),
                                         advances.value(1).toString().trimmed(), {-1, 0});
        all[index].advance += advances.value(2).toDouble();
    }

    Debts result;
    for (size_t i = 0; i < all.size(); ++i) {
        ClientDebt &client = all[i];
        roundFigures(client);
        if (documents[i].empty() && client.advance < 0.005)
            continue;
        std::sort(documents[i].begin(), documents[i].end());
        for (const auto &[number, kod] : documents[i])
            client.documents.push_back(kod);
        result.total.invoiced += client.invoiced;
        result.total.paid += client.paid;
        result.total.due += client.due;
        result.total.advance += client.advance;
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
