#include "open_documents.h"

#include "data/fb_statement.h"
#include "data/money.h"

#include <QVariant>

#include <algorithm>

QStringList ownAccounts(FbTransaction &transaction)
{
    QStringList accounts;
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral("select IIK from REKVIZITY union "
                                     "select IIK from RASSCHET where KODORG = 0"));
    statement.execute();
    while (statement.fetch()) {
        const QString account = statement.value(0).toString().trimmed();
        if (!account.isEmpty())
            accounts << account;
    }
    return accounts;
}

namespace {

QHash<int, double> sumsByDocument(FbTransaction &transaction, const QString &sql)
{
    FbStatement statement(transaction);
    statement.prepare(sql);
    statement.execute();
    QHash<int, double> sums;
    while (statement.fetch())
        sums.insert(statement.value(0).toInt(), statement.value(1).toDouble());
    return sums;
}

} // namespace

QHash<QString, std::vector<OpenDocument>> openDocumentsOf(FbTransaction &transaction,
                                                          const QSet<QString> &binIins)
{
    QHash<QString, std::vector<OpenDocument>> result;
    if (binIins.isEmpty())
        return result;
    // Plain reads joined here, as the debts are: one pass over each table.
    const QHash<int, double> amounts = sumsByDocument(
        transaction,
        QStringLiteral("select KODDOCS, sum(STREALIZ) from DETAILDOCS group by KODDOCS"));
    const QHash<int, double> paid = sumsByDocument(
        transaction, QStringLiteral("select KODDOCS, sum(AMOUNT) from PAYMENTS group by KODDOCS"));
    FbStatement statement(transaction);
    statement.prepare(QStringLiteral("select KOD, BINIIN, NUMSCH, NUMSCHF from DOCS "
                                     "where BINIIN is not null"));
    statement.execute();
    while (statement.fetch()) {
        const QString bin = statement.value(1).toString().trimmed();
        if (!binIins.contains(bin))
            continue;
        const int kod = statement.value(0).toInt();
        const double due = roundMoney(roundMoney(amounts.value(kod)) - roundMoney(paid.value(kod)));
        if (due < 0.005)
            continue;
        result[bin].push_back({kod, statement.value(2).toInt(), statement.value(3).toInt(), due});
    }
    for (std::vector<OpenDocument> &documents : result)
        std::sort(documents.begin(), documents.end(),
                  [](const OpenDocument &a, const OpenDocument &b) {
                      return std::pair(a.invoiceNumber, a.kod) < std::pair(b.invoiceNumber, b.kod);
                  });
    return result;
}
