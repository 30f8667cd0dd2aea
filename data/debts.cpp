#include "debts.h"

#include "date_time.h"
#include "fb_statement.h"
#include "kz1048.h"
#include "money.h"
#include "payment_status.h"
#include "row.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_map>

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

void roundFigures(ClientDebt &client)
{
    for (double *figure : {&client.invoiced, &client.paid, &client.due, &client.advance,
                           &client.ages.notDue, &client.ages.days1to30, &client.ages.days31to60,
                           &client.ages.days61to90, &client.ages.over90})
        *figure = roundMoney(*figure);
}

// The stored text without the blanks around it, as QString::trimmed would leave it: the
// KZ-1048 bytes of white space are those of ASCII and the no-break space.
std::string_view trimmedBytes(std::string_view bytes)
{
    const auto blank = [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b == 0x20 || (b >= 0x09 && b <= 0x0d) || b == 0xa0;
    };
    while (!bytes.empty() && blank(bytes.front()))
        bytes.remove_prefix(1);
    while (!bytes.empty() && blank(bytes.back()))
        bytes.remove_suffix(1);
    return bytes;
}

// Runs a select of (KODDOCS, number) and hands each row to take, read straight from the
// engine's buffers: a hundred thousand rows through QVariant cost more than the engine's sums.
template <class Take>
void eachNumberByDocument(FbTransaction &transaction, const QString &sql, QDate at, Take take)
{
    FbStatement statement(transaction);
    statement.prepare(sql);
    if (!statement.parameterNames().isEmpty())
        statement.setParameter(QString::fromLatin1(payment_sql::kDateParameter),
                               datetime::make(at));
    statement.execute();
    const std::vector<int> target{0, 1};
    while (statement.fetch()) {
        Row row(2);
        statement.readInto(row, target);
        if (!row.isNull(0) && !row.isNull(1))
            take(int(row.integer(0)), row.real(1));
    }
}

// A client as the documents name it: its BIN/IIN, or its name where that is empty; the
// stored bytes, decoded only once per client.
struct ClientRecord {
    std::string name; // of its latest document by invoice number
    std::string biniin;
    std::pair<int, int> latest{-1, 0}; // NUMSCH, KOD
    ClientDebt figures;
    std::vector<DocumentDebt> documents; // those with money due
};

class Clients {
public:
    ClientRecord &of(std::string_view name, std::string_view biniin)
    {
        std::string key =
            biniin.empty() ? std::string("N:").append(name) : std::string("B:").append(biniin);
        const auto [found, added] = m_indexOf.try_emplace(std::move(key), m_all.size());
        if (added) {
            m_all.emplace_back();
            m_all.back().name = name;
            m_all.back().biniin = biniin;
        }
        return m_all[found->second];
    }
    std::vector<ClientRecord> &all() { return m_all; }

private:
    std::unordered_map<std::string, size_t> m_indexOf;
    std::vector<ClientRecord> m_all;
};

} // namespace

Debts clientDebts(FbTransaction &transaction, QDate at)
{
    // Plain reads joined here: one pass over each table, where a subquery per document would
    // look each one up again. Each document's amount and due date come from the row the
    // database keeps for it, not from its lines.
    std::unordered_map<int, double> amounts;
    amounts.reserve(1024);
    // How many days past its due date each document is at the date, counted by the engine.
    std::unordered_map<int, int> daysPast;
    {
        FbStatement statement(transaction);
        statement.prepare(QStringLiteral("select KODDOCS, AMOUNT, cast(:NA as timestamp) - SROK "
                                         "from DOC_AMOUNTS"));
        statement.setParameter(QString::fromLatin1(payment_sql::kDateParameter),
                               datetime::make(at));
        statement.execute();
        const std::vector<int> target{0, 1, 2};
        while (statement.fetch()) {
            Row row(3);
            statement.readInto(row, target);
            const int kod = int(row.integer(0));
            amounts.emplace(kod, roundMoney(row.real(1)));
            if (!row.isNull(2))
                daysPast.emplace(kod, int(std::lround(row.real(2))));
        }
    }
    // Summed here rather than grouped by the engine, which would sort them first; the payments
    // are whole tiyn, so the order of the additions does not change the sum to tiyn.
    std::unordered_map<int, double> paidSums;
    eachNumberByDocument(
        transaction, QStringLiteral("select KODDOCS, AMOUNT from PAYMENTS where DATAOPL <= :NA"),
        at, [&](int kod, double amount) { paidSums[kod] += amount; });
    for (auto &[kod, sum] : paidSums)
        sum = roundMoney(sum);

    // In no order: sorting them all would cost more than placing each here.
    Clients clients;
    {
        FbStatement statement(transaction);
        // The invoice date as days before the date, which costs less to read than a timestamp.
        statement.prepare(QStringLiteral("select KOD, NAMEORG, BINIIN, NUMSCH, "
                                         "cast(:NA as timestamp) - DATASCH from DOCS "
                                         "where DATASCH is null or DATASCH <= :NA"));
        statement.setParameter(QString::fromLatin1(payment_sql::kDateParameter),
                               datetime::make(at));
        statement.execute();
        const std::vector<int> target{0, 1, 2, 3, 4};
        while (statement.fetch()) {
            Row row(5);
            statement.readInto(row, target);
            const int kod = int(row.integer(0));
            const std::string_view name =
                trimmedBytes(row.isNull(1) ? std::string_view() : row.text(1));
            const std::string_view biniin =
                trimmedBytes(row.isNull(2) ? std::string_view() : row.text(2));
            const std::pair<int, int> order{row.isNull(3) ? 0 : int(row.integer(3)), kod};
            ClientRecord &client = clients.of(name, biniin);
            if (order > client.latest) {
                client.latest = order;
                client.name = name;
            }
            const auto amount = amounts.find(kod);
            const auto paid = paidSums.find(kod);
            const double invoiced = amount == amounts.end() ? 0 : amount->second;
            const double paidSum = paid == paidSums.end() ? 0 : paid->second;
            client.figures.invoiced += invoiced;
            client.figures.paid += paidSum;
            const double due = roundMoney(invoiced - paidSum);
            if (due < 0.005)
                continue;
            client.figures.due += due;
            const auto days = daysPast.find(kod);
            addByAge(client.figures.ages, days == daysPast.end() ? 0 : days->second, due);
            DocumentDebt document;
            document.kod = kod;
            document.number = order.first;
            if (!row.isNull(4))
                document.date = at.addDays(-std::lround(row.real(4)));
            document.amount = invoiced;
            document.paid = paidSum;
            document.due = due;
            if (days != daysPast.end()) {
                document.dueDate = at.addDays(-days->second);
                document.daysOverdue = std::max(0, days->second);
            }
            client.documents.push_back(document);
        }
    }

    // A payer known only from the bank is named as its payment order names it.
    FbStatement advances(transaction);
    advances.prepare(QStringLiteral(
        "select O.PAYER_NAME, O.PAYER_BIN, O.AMOUNT - coalesce((select sum(P.AMOUNT) "
        "from PAYMENTS P where P.OPERATION = O.KOD and P.DATAOPL <= :NA), 0) "
        "from BANK_OPERATIONS O where O.STATE = 1 and coalesce(O.DATEOPER, O.DATEDOC) <= :NA"));
    advances.setParameter(QString::fromLatin1(payment_sql::kDateParameter), datetime::make(at));
    advances.execute();
    const std::vector<int> advanceTarget{0, 1, 2};
    while (advances.fetch()) {
        Row row(3);
        advances.readInto(row, advanceTarget);
        ClientRecord &client =
            clients.of(trimmedBytes(row.isNull(0) ? std::string_view() : row.text(0)),
                       trimmedBytes(row.isNull(1) ? std::string_view() : row.text(1)));
        if (!row.isNull(2))
            client.figures.advance += row.real(2);
    }

    Debts result;
    for (ClientRecord &record : clients.all()) {
        ClientDebt &client = record.figures;
        roundFigures(client);
        if (record.documents.empty() && client.advance < 0.005)
            continue;
        client.name = kz1048::decode(record.name);
        client.biniin = kz1048::decode(record.biniin);
        std::sort(record.documents.begin(), record.documents.end(),
                  [](const DocumentDebt &a, const DocumentDebt &b) {
                      return std::pair(a.number, a.kod) < std::pair(b.number, b.kod);
                  });
        for (const DocumentDebt &document : record.documents)
            client.documents.push_back(document.kod);
        client.dueDocuments = std::move(record.documents);
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
