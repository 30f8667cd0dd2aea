#include "reconciliation_act.h"

#include "date_time.h"
#include "fb_statement.h"
#include "money.h"
#include "payments.h"

#include "words/amount_words.h"

#include <QLocale>
#include <QVariant>

#include <algorithm>
#include <cmath>

namespace {

QDate dateOf(const QVariant &value)
{
    return value.isNull() ? QDate() : value.toDateTime().date();
}

QString dateText(QDate date)
{
    return date.toString(u"dd.MM.yyyy");
}

// The condition that picks the client's rows by BIN/IIN, or by name where it has none, with
// its one parameter. Both columns are compared trimmed: documents hold typed copies.
struct ClientMatch {
    QString condition;
    QString value;
};

ClientMatch clientMatch(const ActClient &client, const char *binColumn, const char *nameColumn)
{
    if (!client.biniin.isEmpty())
        return {QStringLiteral("trim(%1) = :V").arg(QLatin1String(binColumn)), client.biniin};
    return {QStringLiteral("coalesce(trim(%1), '') = '' and trim(%2) = :V")
                .arg(QLatin1String(binColumn), QLatin1String(nameColumn)),
            client.name};
}

// An entry with the order it takes among those of its day: sales first, then payments, each in
// the order read.
struct Dated {
    ActEntry entry;
    int group = 0;
};

void readRequisites(FbTransaction &transaction, ReconciliationAct &act)
{
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral("select first 1 NAMEORG, RUK, GLBUX from REKVIZITY "
                                     "order by KOD"));
    statement.execute();
    if (statement.fetch()) {
        act.business = statement.value(0).toString().trimmed();
        act.director = statement.value(1).toString().trimmed();
        act.accountant = statement.value(2).toString().trimmed();
    }
    statement.closeCursor();
}

// Each document of the client with lines, dated and named by the paper that delivered it.
void readSales(FbTransaction &transaction, const ActClient &client, std::vector<Dated> &out)
{
    const ClientMatch match = clientMatch(client, "D.BINIIN", "D.NAMEORG");
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral("select D.NUMNAKL, D.DATANAKL, D.NUMACT, D.DATAACT, "
                                     "D.NUMSCH, D.DATASCH, "
                                     "(select sum(L.STREALIZ) from DETAILDOCS L "
                                     "where L.KODDOCS = D.KOD) "
                                     "from DOCS D where %1 order by D.NUMSCH, D.KOD")
                          .arg(match.condition));
    statement.setParameter(0, match.value);
    statement.execute();
    while (statement.fetch()) {
        const double amount = roundMoney(statement.value(6).toDouble());
        if (amount == 0)
            continue; // a document without lines sold nothing
        // The waybill delivers goods, the act services; an invoice alone is what was billed.
        reconciliation::SaleForm form = reconciliation::SaleForm::Invoice;
        int column = 4;
        if (statement.value(0).toLongLong() != 0) {
            form = reconciliation::SaleForm::Waybill;
            column = 0;
        } else if (statement.value(2).toLongLong() != 0) {
            form = reconciliation::SaleForm::Act;
            column = 2;
        }
        const QDate paperDate = dateOf(statement.value(column + 1));
        const QDate date = paperDate.isValid() ? paperDate : dateOf(statement.value(5));
        if (!date.isValid())
            continue; // an undated document belongs to no period
        out.push_back(
            {{date, reconciliation::saleName(form, statement.value(column).toLongLong(), paperDate),
              amount, 0},
             0});
    }
}

void readPayments(FbTransaction &transaction, const ActClient &client, std::vector<Dated> &out)
{
    const ClientMatch match = clientMatch(client, "D.BINIIN", "D.NAMEORG");
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral("select P.DATAOPL, P.AMOUNT, P.KIND, P.NOTE, P.DOCNUM, "
                                     "O.DATEDOC from PAYMENTS P "
                                     "join DOCS D on D.KOD = P.KODDOCS "
                                     "left join BANK_OPERATIONS O on O.KOD = P.OPERATION "
                                     "where %1 order by P.DATAOPL, P.KOD")
                          .arg(match.condition));
    statement.setParameter(0, match.value);
    statement.execute();
    while (statement.fetch()) {
        const QDate date = dateOf(statement.value(0));
        const QDate operationDate = dateOf(statement.value(5));
        out.push_back({{date,
                        reconciliation::paymentName(statement.value(2).toInt(),
                                                    statement.value(4).toString().trimmed(),
                                                    operationDate.isValid() ? operationDate : date,
                                                    statement.value(3).toString().trimmed()),
                        0, roundMoney(statement.value(1).toDouble())},
                       1});
    }
}

// What the bank left on account of the client: the part of each such operation its payments
// did not take is paid all the same.
void readAdvances(FbTransaction &transaction, const ActClient &client, std::vector<Dated> &out)
{
    const ClientMatch match = clientMatch(client, "B.PAYER_BIN", "B.PAYER_NAME");
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral("select B.DATEOPER, B.DATEDOC, B.NUMBER, B.AMOUNT - "
                                     "coalesce((select sum(P.AMOUNT) from PAYMENTS P "
                                     "where P.OPERATION = B.KOD), 0) "
                                     "from BANK_OPERATIONS B where B.STATE = 1 and %1 "
                                     "order by B.DATEDOC, B.KOD")
                          .arg(match.condition));
    statement.setParameter(0, match.value);
    statement.execute();
    while (statement.fetch()) {
        const double amount = roundMoney(statement.value(3).toDouble());
        if (amount <= 0)
            continue;
        const QDate documentDate = dateOf(statement.value(1));
        const QDate operationDate = dateOf(statement.value(0));
        out.push_back({{operationDate.isValid() ? operationDate : documentDate,
                        reconciliation::paymentName(int(PaymentKind::Bank),
                                                    statement.value(2).toString().trimmed(),
                                                    documentDate, {}),
                        0, amount},
                       1});
    }
}

} // namespace

std::optional<ActClient> actClient(FbTransaction &transaction, int clientKod)
{
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral("select NAMEORG, BINIIN from CLIENTS where KOD = :V"));
    statement.setParameter(0, clientKod);
    statement.execute();
    std::optional<ActClient> client;
    if (statement.fetch())
        client = ActClient{statement.value(0).toString().trimmed(),
                           statement.value(1).toString().trimmed()};
    statement.closeCursor();
    return client;
}

std::vector<ActClientChoice> actClientChoices(FbTransaction &transaction)
{
    FbStatement statement(transaction);
    statement.prepare(
        QStringLiteral("select KOD, NAMEORG, BINIIN from CLIENTS order by NAMEORG, KOD"));
    statement.execute();
    std::vector<ActClientChoice> choices;
    while (statement.fetch())
        choices.push_back(
            {statement.value(0).toInt(),
             {statement.value(1).toString().trimmed(), statement.value(2).toString().trimmed()}});
    return choices;
}

std::vector<QString> clientGrounds(FbTransaction &transaction, int clientKod)
{
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral("select OSNOVANIE from OSNOVANIE where KODORG = :K "
                                     "order by KOD"));
    statement.setParameter(0, clientKod);
    statement.execute();
    std::vector<QString> grounds;
    while (statement.fetch()) {
        const QString ground = statement.value(0).toString().trimmed();
        if (!ground.isEmpty())
            grounds.push_back(ground);
    }
    return grounds;
}

std::pair<QDate, QDate> actPeriod(ActPeriod period, QDate today)
{
    const int quarterStart = (today.month() - 1) / 3 * 3 + 1;
    const QDate thisQuarter(today.year(), quarterStart, 1);
    switch (period) {
    case ActPeriod::ThisQuarter:
        return {thisQuarter, thisQuarter.addMonths(3).addDays(-1)};
    case ActPeriod::LastQuarter:
        return {thisQuarter.addMonths(-3), thisQuarter.addDays(-1)};
    case ActPeriod::ThisYear:
        break;
    }
    return {QDate(today.year(), 1, 1), QDate(today.year(), 12, 31)};
}

ReconciliationAct reconciliationAct(FbTransaction &transaction, const ActClient &client, QDate from,
                                    QDate to)
{
    ReconciliationAct act;
    act.client = client;
    act.from = from;
    act.to = to;
    readRequisites(transaction, act);

    std::vector<Dated> all;
    readSales(transaction, client, all);
    readPayments(transaction, client, all);
    readAdvances(transaction, client, all);
    std::stable_sort(all.begin(), all.end(), [](const Dated &a, const Dated &b) {
        return a.entry.date != b.entry.date ? a.entry.date < b.entry.date : a.group < b.group;
    });

    double opening = 0, debit = 0, credit = 0;
    for (const Dated &dated : all) {
        const ActEntry &entry = dated.entry;
        if (entry.date > to)
            break;
        if (entry.date < from) {
            opening += entry.debit - entry.credit;
            continue;
        }
        debit += entry.debit;
        credit += entry.credit;
        act.entries.push_back(entry);
    }
    act.opening = roundMoney(opening);
    act.debitTurnover = roundMoney(debit);
    act.creditTurnover = roundMoney(credit);
    act.closing = roundMoney(act.opening + act.debitTurnover - act.creditTurnover);
    return act;
}

namespace reconciliation {

QString saleName(SaleForm form, qlonglong number, QDate date)
{
    const QString numbered = QStringLiteral("№ %1").arg(number) +
                             (date.isValid() ? QStringLiteral(" от ") + dateText(date) : QString());
    switch (form) {
    case SaleForm::Waybill:
        return QStringLiteral("Реализация (накладная %1)").arg(numbered);
    case SaleForm::Act:
        return QStringLiteral("Акт выполненных работ %1").arg(numbered);
    case SaleForm::Invoice:
        break;
    }
    return QStringLiteral("Счет на оплату %1").arg(numbered);
}

// A bank payment with its payment order: "Оплата (п/п № 95022 от 03.01.2024)"; cash with its
// receipt order: "Оплата наличными (ПКО № 11 от 05.01.2024)"; without the paying document's
// number only "Оплата" or "Оплата наличными". A payment of another kind (an offset, a barter)
// has no paying document: its note says what it was, "Оплата (взаимозачет)".
QString paymentName(int kind, const QString &docNumber, QDate docDate, const QString &note)
{
    const auto withDocument = [&](const QString &head, const QString &paper) {
        if (docNumber.isEmpty())
            return head;
        return QStringLiteral("%1 (%2 № %3 от %4)").arg(head, paper, docNumber, dateText(docDate));
    };
    switch (PaymentKind(kind)) {
    case PaymentKind::Bank:
        return withDocument(QStringLiteral("Оплата"), QStringLiteral("п/п"));
    case PaymentKind::Cash:
        return withDocument(QStringLiteral("Оплата наличными"), QStringLiteral("ПКО"));
    case PaymentKind::Other:
        break;
    }
    return note.isEmpty() ? QStringLiteral("Оплата") : QStringLiteral("Оплата (%1)").arg(note);
}

QString amountText(double amount)
{
    return QLocale::c().toString(amount, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(','));
}

QString conclusion(const ReconciliationAct &act, const QString &side)
{
    const QString head = QStringLiteral("По данным %1 на %2 ").arg(side, dateText(act.to));
    if (act.closing == 0)
        return head + QStringLiteral("задолженность отсутствует");
    const double amount = std::abs(act.closing);
    return head + QStringLiteral("задолженность в пользу %1 составляет %2 тенге (%3)")
                      .arg(act.closing > 0 ? act.business : act.client.name, amountText(amount),
                           SumPropis(amount).value_or(QString()));
}

} // namespace reconciliation
