#include "id_checks.h"

#include "bank_directory.h"
#include "bin_iin.h"
#include "iik.h"
#include "short_codes.h"
#include "typed_id.h"

#include <QStringList>

#include <algorithm>

IdVerdict checkId(IdKind kind, const QString &typed)
{
    const BankDirectory &banks = BankDirectory::builtin();
    switch (kind) {
    case IdKind::BinIin:
        return checkBinIin(typed);
    case IdKind::Iik:
        return checkIik(typed, &banks);
    case IdKind::Bik:
        return checkBik(typed, &banks);
    case IdKind::Kbe:
        return checkKbe(typed);
    case IdKind::Knp:
        return checkKnp(typed);
    }
    return {};
}

QString idLabel(IdKind kind)
{
    switch (kind) {
    case IdKind::BinIin:
        return QStringLiteral("БИН (ИИН)");
    case IdKind::Iik:
        return QStringLiteral("ИИК");
    case IdKind::Bik:
        return QStringLiteral("БИК");
    case IdKind::Kbe:
        return QStringLiteral("КБЕ");
    case IdKind::Knp:
        return QStringLiteral("КНП");
    }
    return {};
}

namespace {

const IdField *find(std::span<const IdField> fields, IdKind kind)
{
    const auto it = std::find_if(fields.begin(), fields.end(),
                                 [kind](const IdField &f) { return f.kind == kind; });
    return it == fields.end() ? nullptr : &*it;
}

// The BIK that disagrees with the bank of the IIK, when the directory knows both.
std::optional<IdProblem> bankMismatch(std::span<const IdField> fields, const FieldValue &value)
{
    const IdField *iikField = find(fields, IdKind::Iik);
    const IdField *bikField = find(fields, IdKind::Bik);
    if (!iikField || !bikField)
        return std::nullopt;
    const QString iik = value(QLatin1String(iikField->field));
    const QString bik = value(QLatin1String(bikField->field));
    const BankDirectory &banks = BankDirectory::builtin();
    const auto iikBank = banks.byCode(iikBankCode(iik));
    const auto bikBank = checkId(IdKind::Bik, bik).ok ? banks.byBik(compactId(bik)) : std::nullopt;
    if (!iikBank || !bikBank || bikBank->code.isEmpty() || bikBank->code == iikBank->code)
        return std::nullopt;
    return IdProblem{
        QLatin1String(bikField->field),
        QStringLiteral("БИК %1: это БИК банка %2, а счет %3 — в банке %4 (БИК %5)")
            .arg(bik.trimmed(), bikBank->name, iik.trimmed(), iikBank->name, iikBank->bik)};
}

} // namespace

std::vector<IdProblem> idProblems(std::span<const IdField> fields, const FieldValue &value)
{
    std::vector<IdProblem> problems;
    for (const IdField &f : fields) {
        const QString field = QLatin1String(f.field);
        const QString typed = value(field);
        const IdVerdict verdict = checkId(f.kind, typed);
        if (!verdict.ok)
            problems.push_back({field, QStringLiteral("%1 %2: %3")
                                           .arg(idLabel(f.kind), typed.trimmed(), verdict.reason)});
    }
    if (auto mismatch = bankMismatch(fields, value))
        problems.push_back(*mismatch);
    return problems;
}

QStringList problemTexts(const std::vector<IdProblem> &problems, const QString &prefix)
{
    QStringList texts;
    for (const IdProblem &p : problems)
        texts.push_back(prefix + p.text);
    return texts;
}
