#include "statement_import.h"

#include "open_documents.h"

#include "data/date_time.h"
#include "data/db_error.h"
#include "data/fb_statement.h"
#include "data/kz1048.h"
#include "data/money.h"
#include "data/payments.h"
#include "data/savepoint.h"

#include <QSet>
#include <QVariant>

#include <algorithm>

namespace {

enum OperationState { Paid = 0, OnAccount = 1, Ignored = 2 };

QString operationKey(const QString &account, QDate date, const QString &number, double amount)
{
    return account + QLatin1Char('|') + date.toString(Qt::ISODate) + QLatin1Char('|') + number +
           QLatin1Char('|') + QString::number(roundMoney(amount), 'f', 2);
}

// What the columns hold of a bank's text: characters the database cannot store become "?", and
// the text is cut to the column's length.
QString storable(const QString &text, qsizetype length)
{
    QString result = text.left(length);
    const QString foreign = kz1048::unencodable(result);
    for (const QChar c : foreign)
        result.replace(c, QLatin1Char('?'));
    return result;
}

QString storedNumber(const StatementOperation &op)
{
    return storable(op.number, 32);
}

// The keys of the operations stored over the statement's dates.
QSet<QString> storedKeys(FbTransaction &transaction, const std::vector<PlannedOperation> &plan)
{
    QSet<QString> keys;
    if (plan.empty())
        return keys;
    QDate first = plan.front().operation.documentDate, last = first;
    for (const PlannedOperation &planned : plan) {
        first = std::min(first, planned.operation.documentDate);
        last = std::max(last, planned.operation.documentDate);
    }
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral("select ACCOUNT, DATEDOC, NUMBER, AMOUNT from BANK_OPERATIONS "
                                     "where DATEDOC between :FIRST and :LAST"));
    statement.setParameter(0, datetime::make(first));
    statement.setParameter(1, datetime::make(last));
    statement.execute();
    while (statement.fetch())
        keys.insert(operationKey(statement.value(0).toString(),
                                 statement.value(1).toDateTime().date(),
                                 statement.value(2).toString(), statement.value(3).toDouble()));
    return keys;
}

QString keyOf(const StatementOperation &op)
{
    return operationKey(storable(op.ownAccount(), 34), op.documentDate, storedNumber(op),
                        op.amount);
}

double sharesTotal(const OperationChoice &choice)
{
    double total = 0;
    for (const DocumentShare &share : choice.shares)
        total += roundMoney(share.amount);
    return roundMoney(total);
}

} // namespace

StatementPlan planImport(FbTransaction &transaction, const Statement &statement)
{
    std::vector<PlannedOperation> operations;
    for (const StatementOperation &op : statement.operations) {
        if (op.direction == MoneyDirection::In)
            operations.push_back({op, false, {}, {}});
    }
    const QSet<QString> stored = storedKeys(transaction, operations);
    QSet<QString> seen;
    QSet<QString> payers;
    for (PlannedOperation &planned : operations) {
        const QString key = keyOf(planned.operation);
        planned.alreadyImported = stored.contains(key) || seen.contains(key);
        seen.insert(key);
        if (!planned.alreadyImported)
            payers.insert(planned.operation.payer.biniin.trimmed());
    }
    StatementPlan plan{std::move(operations),
                       DocumentMatcher(openDocumentsOf(transaction, payers))};
    for (PlannedOperation &planned : plan.operations) {
        if (!planned.alreadyImported)
            planned.match = plan.matcher.match(planned.operation.payer.biniin,
                                               planned.operation.purpose, planned.operation.amount);
    }
    return plan;
}

QString choiceProblem(const PlannedOperation &planned)
{
    if (planned.match.document || planned.choice.kind != OperationChoice::Kind::Documents)
        return {};
    if (planned.choice.shares.empty())
        return QStringLiteral("Не выбран ни один документ");
    for (const DocumentShare &share : planned.choice.shares) {
        if (share.document <= 0 || roundMoney(share.amount) < 0.01)
            return QStringLiteral("Сумма по документу должна быть больше нуля");
    }
    if (sharesTotal(planned.choice) > roundMoney(planned.operation.amount) + 0.005)
        return QStringLiteral("Сумма по документам больше суммы операции");
    return {};
}

ImportCounts recordImport(FbTransaction &transaction, const std::vector<PlannedOperation> &plan)
{
    ImportCounts counts;
    Savepoint savepoint(transaction, QStringLiteral("STATEMENT_IMPORT"));
    QSet<QString> stored = storedKeys(transaction, plan);

    PaymentInserter payments(transaction);
    FbStatement nextKey(transaction);
    nextKey.prepare(QStringLiteral("select gen_id(BANK_OPERATIONS_KOD_GEN, 1) from RDB$DATABASE"));
    FbStatement insert(transaction);
    insert.prepare(QStringLiteral(
        "insert into BANK_OPERATIONS (KOD, ACCOUNT, DATEDOC, NUMBER, AMOUNT, DATEOPER, "
        "PAYER_NAME, PAYER_BIN, PAYER_IIK, PURPOSE, STATE) values (:KOD, :ACCOUNT, :DATEDOC, "
        ":NUMBER, :AMOUNT, :DATEOPER, :PAYER_NAME, :PAYER_BIN, :PAYER_IIK, :PURPOSE, :STATE)"));
    for (const PlannedOperation &planned : plan) {
        const StatementOperation &op = planned.operation;
        if (op.direction != MoneyDirection::In)
            continue;
        const QString key = keyOf(op);
        if (stored.contains(key)) {
            ++counts.alreadyImported;
            continue;
        }
        std::vector<DocumentShare> shares;
        OperationState state = Paid;
        if (planned.match.document) {
            shares.push_back({planned.match.document, op.amount});
        } else {
            switch (planned.choice.kind) {
            case OperationChoice::Kind::Leave:
                ++counts.unmatched;
                continue;
            case OperationChoice::Kind::Ignore:
                state = Ignored;
                break;
            case OperationChoice::Kind::Advance:
                state = OnAccount;
                break;
            case OperationChoice::Kind::Documents:
                if (const QString problem = choiceProblem(planned); !problem.isEmpty())
                    throw DbError(QStringLiteral("Операция № %1 от %2: %3")
                                      .arg(op.number,
                                           op.documentDate.toString(QStringLiteral("dd.MM.yyyy")),
                                           problem));
                shares = planned.choice.shares;
                if (sharesTotal(planned.choice) < roundMoney(op.amount) - 0.005)
                    state = OnAccount;
                break;
            }
        }
        stored.insert(key);

        nextKey.execute();
        nextKey.fetch();
        const int kod = nextKey.value(0).toInt();
        nextKey.closeCursor();
        const QVariantList values = {kod,
                                     storable(op.ownAccount(), 34),
                                     datetime::make(op.documentDate),
                                     storedNumber(op),
                                     roundMoney(op.amount),
                                     op.operationDate.isValid() ? datetime::make(op.operationDate)
                                                                : QVariant(),
                                     storable(op.payer.name, 256),
                                     storable(op.payer.biniin.trimmed(), 12),
                                     storable(op.payer.iik, 34),
                                     storable(op.purpose, 1024),
                                     int(state)};
        for (int i = 0; i < values.size(); ++i)
            insert.setParameter(i, values[i]);
        insert.execute();
        for (const DocumentShare &share : shares) {
            Payment payment;
            payment.document = share.document;
            payment.date = op.paymentDate();
            payment.amount = share.amount;
            payment.kind = PaymentKind::Bank;
            payment.source = PaymentSource::BankStatement;
            payment.docNumber = storedNumber(op);
            payment.operation = kod;
            payments.add(payment);
        }
        ++counts.recorded;
    }
    savepoint.release();
    return counts;
}
