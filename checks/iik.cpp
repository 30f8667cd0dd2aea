#include "iik.h"

#include "bank_directory.h"
#include "typed_id.h"

namespace {

constexpr qsizetype kLength = 20;

bool allDigits(QStringView text)
{
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// ISO 13616: the first four characters moved to the end, letters read as 10 to 35, the
// whole as one number leaves 1 when divided by 97.
bool passesMod97(const QString &iban)
{
    const QString moved = iban.mid(4) + iban.left(4);
    int rest = 0;
    for (QChar c : moved) {
        const int value = c.isDigit() ? c.digitValue() : c.unicode() - u'A' + 10;
        rest = (value < 10 ? rest * 10 : rest * 100) + value;
        rest %= 97;
    }
    return rest == 1;
}

} // namespace

IdVerdict checkIik(const QString &typed, const BankDirectory *banks)
{
    const QString iik = compactId(typed);
    if (iik.isEmpty())
        return {};
    if (auto reason = firstForeignCharacter(iik))
        return IdVerdict::fail(*reason);
    if (!iik.startsWith(QLatin1String("KZ")))
        return IdVerdict::fail(QStringLiteral("ИИК начинается с KZ, а не с «%1»").arg(iik.left(2)));
    if (iik.size() != kLength)
        return IdVerdict::fail(QStringLiteral("в ИИК 20 знаков, а введено %1").arg(iik.size()));
    if (!allDigits(QStringView(iik).mid(2, 2)))
        return IdVerdict::fail(QStringLiteral("3-й и 4-й знаки ИИК — контрольные цифры, а не «%1»")
                                   .arg(iik.mid(2, 2)));
    if (!allDigits(QStringView(iik).mid(4, 3)))
        return IdVerdict::fail(QStringLiteral("5-7-й знаки ИИК — код банка из трех цифр, а не «%1»")
                                   .arg(iik.mid(4, 3)));
    if (!passesMod97(iik))
        return IdVerdict::fail(QStringLiteral("не сходятся контрольные цифры: в номере опечатка "
                                              "или переставлены знаки"));
    const QString code = iik.mid(4, 3);
    if (banks) {
        if (const auto bank = banks->byCode(code))
            return IdVerdict::pass(
                QStringLiteral("счет в банке %1 (БИК %2)").arg(bank->name, bank->bik));
    }
    return IdVerdict::pass(QStringLiteral("счет банка с кодом %1").arg(code));
}

QString iikBankCode(const QString &typed)
{
    return checkIik(typed).ok ? compactId(typed).mid(4, 3) : QString();
}
