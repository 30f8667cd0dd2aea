#include "short_codes.h"

#include "bank_directory.h"
#include "typed_id.h"

IdVerdict checkBik(const QString &typed, const BankDirectory *banks)
{
    const QString bik = compactId(typed);
    if (bik.isEmpty())
        return {};
    if (auto reason = firstForeignCharacter(bik))
        return IdVerdict::fail(*reason);
    if (bik.size() != 8)
        return IdVerdict::fail(QStringLiteral("в БИК 8 знаков, а введено %1").arg(bik.size()));
    const auto bank = banks ? banks->byBik(bik) : std::nullopt;
    if (!bank)
        return IdVerdict::pass();
    if (const QString now = bank->renamedTo(); !now.isEmpty())
        return IdVerdict::fail(QStringLiteral("банк сменил этот БИК на %1").arg(now));
    if (!bank->active())
        return IdVerdict::fail(
            QStringLiteral("этот БИК был у банка %1, который больше не работает").arg(bank->name));
    return IdVerdict::pass(bank->name);
}

IdVerdict checkKbe(const QString &typed)
{
    const QString kbe = compactId(typed);
    if (kbe.isEmpty())
        return {};
    if (auto reason = firstNonDigit(kbe))
        return IdVerdict::fail(*reason);
    if (kbe.size() != 2)
        return IdVerdict::fail(QStringLiteral("нужно 2 цифры, а введено %1").arg(kbe.size()));
    if (kbe.at(0) != u'1' && kbe.at(0) != u'2')
        return IdVerdict::fail(QStringLiteral("1-я цифра — 1 (резидент) или 2 (нерезидент), "
                                              "а не %1")
                                   .arg(kbe.at(0)));
    if (kbe.at(1) == u'0')
        return IdVerdict::fail(QStringLiteral("2-я цифра — сектор экономики от 1 до 9, а не 0"));
    return IdVerdict::pass(
        QStringLiteral("%1, сектор экономики %2")
            .arg(kbe.at(0) == u'1' ? QStringLiteral("резидент") : QStringLiteral("нерезидент"))
            .arg(kbe.at(1)));
}

IdVerdict checkKnp(const QString &typed)
{
    const QString knp = compactId(typed);
    if (knp.isEmpty())
        return {};
    if (auto reason = firstNonDigit(knp))
        return IdVerdict::fail(*reason);
    if (knp.size() != 3)
        return IdVerdict::fail(QStringLiteral("нужно 3 цифры, а введено %1").arg(knp.size()));
    return IdVerdict::pass();
}
