#include "statement_checks.h"

#include "statement_values.h"

#include <QSet>

#include <cmath>

namespace {

bool differ(double a, double b)
{
    return std::abs(a - b) >= 0.005;
}

QString money(double x)
{
    return QString::number(x, 'f', 2);
}

} // namespace

QStringList foreignAccounts(const Statement &statement, const QStringList &ownAccounts)
{
    QSet<QString> own;
    for (const QString &account : ownAccounts)
        own.insert(statement_values::account(account));
    QStringList result;
    for (const QString &account : statement.accounts) {
        if (!own.contains(account))
            result << account;
    }
    return result;
}

QString foreignAccountQuestion(const QStringList &accounts)
{
    return QStringLiteral("Счет %1 не найден в реквизитах. Загрузить все равно?")
        .arg(accounts.join(QStringLiteral(", ")));
}

QStringList totalsMismatches(const Statement &statement)
{
    QStringList result;
    for (const StatementAccountSection &section : statement.sections) {
        double income = 0, outgo = 0;
        for (const StatementOperation &op : statement.operations) {
            const QDate date = op.paymentDate();
            if ((section.from.isValid() && date < section.from) ||
                (section.to.isValid() && date > section.to))
                continue;
            if (op.receiver.iik == section.account && op.direction != MoneyDirection::Out)
                income += op.amount;
            if (op.payer.iik == section.account && op.direction != MoneyDirection::In)
                outgo += op.amount;
        }
        const QString where =
            QStringLiteral("Счет %1, %2–%3")
                .arg(section.account, section.from.toString(QStringLiteral("dd.MM.yyyy")),
                     section.to.toString(QStringLiteral("dd.MM.yyyy")));
        if (section.income && differ(income, *section.income))
            result << QStringLiteral("%1: поступило по документам %2, по итогам выписки %3")
                          .arg(where, money(income), money(*section.income));
        if (section.outgo && differ(outgo, *section.outgo))
            result << QStringLiteral("%1: списано по документам %2, по итогам выписки %3")
                          .arg(where, money(outgo), money(*section.outgo));
        if (section.opening && section.closing &&
            differ(*section.opening + income - outgo, *section.closing))
            result << QStringLiteral("%1: остаток на конец по документам %2, по выписке %3")
                          .arg(where, money(*section.opening + income - outgo),
                               money(*section.closing));
    }
    return result;
}
