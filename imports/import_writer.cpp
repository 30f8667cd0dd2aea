#include "import_writer.h"

#include "data/db_error.h"
#include "data/email_addresses.h"
#include "data/fb_statement.h"
#include "data/savepoint.h"

#include <memory>

namespace {

struct TableNames {
    QString table, generator;
};

TableNames tableOf(ImportTarget target)
{
    return target == ImportTarget::Goods
               ? TableNames{QStringLiteral("NOMENKLOTURA"), QStringLiteral("NOMENKLOTURA_KOD_GEN")}
               : TableNames{QStringLiteral("CLIENTS"), QStringLiteral("CLIENTS_KOD_GEN")};
}

// Prepared statements kept by their text: rows with the same mapped columns reuse one.
class Statements {
public:
    explicit Statements(FbTransaction &transaction) : m_transaction(transaction) {}

    void run(const QString &sql, const QVariantMap &values)
    {
        std::unique_ptr<FbStatement> &statement = m_prepared[sql];
        if (!statement) {
            statement = std::make_unique<FbStatement>(m_transaction);
            statement->prepare(sql);
        }
        for (const QString &name : statement->parameterNames())
            statement->setParameter(name, values.value(name));
        statement->execute();
    }

private:
    FbTransaction &m_transaction;
    std::map<QString, std::unique_ptr<FbStatement>> m_prepared;
};

QString parameters(const QStringList &columns)
{
    QStringList names;
    for (const QString &column : columns)
        names << u':' + column;
    return names.join(QStringLiteral(", "));
}

// A client's one imported account is also kept in its list of accounts, once.
void addAccount(FbTransaction &transaction, Statements &statements, int clientKod,
                const QVariantMap &values)
{
    if (values.value(QStringLiteral("IIK")).toString().isEmpty())
        return;
    FbStatement known(transaction);
    known.prepare(
        QStringLiteral("select count(*) from RASSCHET where KODORG = :KODORG and IIK = :IIK"));
    known.setParameter(QStringLiteral("KODORG"), clientKod);
    known.setParameter(QStringLiteral("IIK"), values.value(QStringLiteral("IIK")));
    known.execute();
    if (known.fetch() && known.value(0).toInt() > 0)
        return;
    known.closeCursor();
    QVariantMap account = values;
    account.insert(QStringLiteral("KODORG"), clientKod);
    statements.run(QStringLiteral("insert into RASSCHET (KOD, KODORG, IIK, BANK, BIK) values "
                                  "(gen_id(RASSCHET_KOD_GEN, 1), :KODORG, :IIK, :BANK, :BIK)"),
                   account);
}

void writeRow(FbTransaction &transaction, Statements &statements, ImportTarget target,
              const PlannedRow &row)
{
    const TableNames names = tableOf(target);
    QVariantMap values = row.values;
    // The address lives in the program's own table, by the client's key, once the row has one.
    const QString emailColumn = QStringLiteral("EMAIL");
    const bool emailMapped = values.contains(emailColumn);
    const QString email = values.take(emailColumn).toString();
    values.insert(QStringLiteral("TIP"), row.kind);
    const QStringList columns = values.keys();
    int kod = row.existingKod;
    if (row.action == PlannedRow::Update) {
        QStringList assignments;
        for (const QString &column : columns)
            assignments << column + QStringLiteral(" = :") + column;
        values.insert(QStringLiteral("KOD"), kod);
        statements.run(QStringLiteral("update %1 set %2 where KOD = :KOD")
                           .arg(names.table, assignments.join(QStringLiteral(", "))),
                       values);
    } else if (target == ImportTarget::Goods) {
        statements.run(QStringLiteral("insert into %1 (KOD, %2) values (gen_id(%3, 1), %4)")
                           .arg(names.table, columns.join(QStringLiteral(", ")), names.generator,
                                parameters(columns)),
                       values);
    } else {
        kod = FbStatement::scalar(
                  transaction,
                  QStringLiteral("select gen_id(%1, 1) from RDB$DATABASE").arg(names.generator))
                  .toInt();
        values.insert(QStringLiteral("KOD"), kod);
        statements.run(
            QStringLiteral("insert into %1 (KOD, %2) values (:KOD, %3)")
                .arg(names.table, columns.join(QStringLiteral(", ")), parameters(columns)),
            values);
    }
    if (target == ImportTarget::Clients)
        addAccount(transaction, statements, kod, row.values);
    if (emailMapped && (!email.isEmpty() || row.action == PlannedRow::Update))
        email_addresses::set(transaction, email_addresses::ownerOfClient(kod), email);
}

const QString kSavepoint = QStringLiteral("ZARNIK_IMPORT");

} // namespace

ExistingRows::ExistingRows(FbTransaction &transaction, ImportTarget target)
{
    if (!transaction.isActive())
        transaction.start();
    FbStatement select(transaction);
    select.prepare(QStringLiteral("select KOD, TIP, %1 from %2 order by KOD")
                       .arg(nameColumn(target), tableOf(target).table));
    select.execute();
    while (select.fetch()) {
        const auto key =
            std::make_pair(select.value(1).toInt(), select.value(2).toString().toLower());
        m_kods.emplace(key, select.value(0).toInt()); // the oldest row of a repeated name
    }
}

std::optional<int> ExistingRows::find(int kind, const QString &name) const
{
    const auto it = m_kods.find({kind, name.toLower()});
    return it == m_kods.end() ? std::nullopt : std::optional<int>(it->second);
}

ExistingRow ExistingRows::lookup() const
{
    return [this](int kind, const QString &name) { return find(kind, name); };
}

WriteOutcome writePlan(FbTransaction &transaction, ImportTarget target, const ImportPlan &plan,
                       const WriteProgress &progress)
{
    // A cancelled or failed import leaves nothing of itself behind.
    Savepoint writing(transaction, kSavepoint);
    Statements statements(transaction);
    const int total = int(plan.rows.size());
    for (int r = 0; r < total; ++r) {
        if (progress && !progress(r, total))
            return WriteOutcome::Cancelled;
        writeRow(transaction, statements, target, plan.rows[size_t(r)]);
    }
    if (progress && !progress(total, total))
        return WriteOutcome::Cancelled;
    writing.release();
    return WriteOutcome::Written;
}
