#include "document_ids.h"

#include "checks/id_checks.h"
#include "data/dataset.h"
#include "data/tdm.h"

namespace {

QStringList rowProblems(const Dataset &row, const QString &whose)
{
    return problemTexts(
        idProblems(kPartyIds, [&](const QString &field) { return row.asString(field); }), whose);
}

} // namespace

QStringList documentIdProblems(TDM &dm)
{
    QStringList problems = rowProblems(*dm.DSetDocs, QStringLiteral("Клиент: "));
    if (dm.DSetRekvizity->isActive() && !dm.DSetRekvizity->isEmpty())
        problems += rowProblems(*dm.DSetRekvizity, QStringLiteral("Реквизиты компании: "));
    return problems;
}
