#include "bin_iin.h"

#include "typed_id.h"

#include <QDate>

#include <array>

namespace {

using Digits = std::array<int, 12>;

int weightedSum(const Digits &d, const std::array<int, 11> &weights)
{
    int sum = 0;
    for (size_t i = 0; i < weights.size(); ++i)
        sum += d[i] * weights[i];
    return sum;
}

// The check digit the first eleven digits call for, or -1 when none can be.
int checkDigit(const Digits &d)
{
    const int first = weightedSum(d, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}) % 11;
    if (first != 10)
        return first;
    const int second = weightedSum(d, {3, 4, 5, 6, 7, 8, 9, 10, 11, 1, 2}) % 11;
    return second == 10 ? -1 : second;
}

int pair(const Digits &d, int at)
{
    return d[at] * 10 + d[at + 1];
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// What digits 1-7 of an IIN say, or why they cannot be.
IdVerdict personPart(const Digits &d)
{
    const int centuryAndSex = d[6];
    if (centuryAndSex < 1 || centuryAndSex > 6)
        return IdVerdict::fail(QStringLiteral("7-я цифра ИИН (век рождения и пол) — от 1 до 6, "
                                              "а не %1")
                                   .arg(centuryAndSex));
    const int year = 1800 + 100 * ((centuryAndSex - 1) / 2) + pair(d, 0);
    const QDate birth(year, pair(d, 2), pair(d, 4));
    const QString written =
        QStringLiteral("%1.%2.%3").arg(twoDigits(pair(d, 4)), twoDigits(pair(d, 2))).arg(year);
    if (!birth.isValid())
        return IdVerdict::fail(
            QStringLiteral("первые 6 цифр ИИН — дата рождения, а даты %1 нет").arg(written));
    return IdVerdict::pass(
        QStringLiteral("ИИН физического лица (или ИП), дата рождения %1").arg(written));
}

// What digits 3-6 of a BIN say, or why they cannot be.
IdVerdict entityPart(const Digits &d)
{
    const int month = pair(d, 2);
    if (month < 1 || month > 12)
        return IdVerdict::fail(QStringLiteral("3-я и 4-я цифры БИН — месяц регистрации, а не %1")
                                   .arg(twoDigits(month)));
    static const char *const kinds[] = {"юридического лица-резидента",
                                        "юридического лица-нерезидента",
                                        "ИП, ведущего совместное предпринимательство"};
    static const char *const units[] = {"головное подразделение", "филиал", "представительство",
                                        "крестьянское (фермерское) хозяйство"};
    if (d[5] > 3)
        return IdVerdict::fail(
            QStringLiteral("6-я цифра БИН (вид подразделения) — от 0 до 3, а не %1").arg(d[5]));
    return IdVerdict::pass(
        QStringLiteral("БИН %1, %2")
            .arg(QString::fromUtf8(kinds[d[4] - 4]), QString::fromUtf8(units[d[5]])));
}

} // namespace

IdVerdict checkBinIin(const QString &typed)
{
    const QString number = compactId(typed);
    if (number.isEmpty())
        return {};
    if (auto reason = firstNonDigit(number))
        return IdVerdict::fail(*reason);
    if (number.size() != 12)
        return IdVerdict::fail(QStringLiteral("нужно 12 цифр, а введено %1").arg(number.size()));
    Digits d{};
    for (size_t i = 0; i < d.size(); ++i)
        d[i] = number.at(qsizetype(i)).digitValue();

    IdVerdict kind;
    if (d[4] <= 3)
        kind = personPart(d);
    else if (d[4] <= 6)
        kind = entityPart(d);
    else
        return IdVerdict::fail(
            QStringLiteral("5-я цифра — от 0 до 3 в ИИН или от 4 до 6 в БИН, а не %1").arg(d[4]));
    if (!kind.ok)
        return kind;

    const int expected = checkDigit(d);
    if (expected < 0)
        return IdVerdict::fail(QStringLiteral("такой номер не выдается: его контрольная цифра "
                                              "не вычисляется; проверьте все цифры"));
    if (expected != d[11])
        return IdVerdict::fail(QStringLiteral("не сходится контрольная (последняя) цифра: "
                                              "в номере опечатка или переставлены цифры"));
    return kind;
}
