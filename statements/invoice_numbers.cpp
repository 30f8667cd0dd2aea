#include "invoice_numbers.h"

#include <QRegularExpression>

namespace {

// What stands between a marker and its number: blanks, dots, colons, dashes, "№", "No".
const QString kGap = QStringLiteral(R"([\s.:#№-]*(?:(?:no|nr|n)[\s.:#№-]*)?$)");

const QRegularExpression &markerBefore()
{
    static const QRegularExpression re(
        QStringLiteral(R"((?:^|[^а-яёәіңғүұқөһa-z])(?:)"
                       R"(сч[а-яё]*(?:[\s.-]*(?:на\s+оплату|фактур[а-яё]*))?)"
                       R"(|с/ф|с-ф|сч/ф|сф|шот[а-яёәіңғүұқөһ-]*|инвойс[а-я]*|invoice|inv)"
                       R"(|[#№]))") +
            kGap,
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return re;
}

const QRegularExpression &listGap()
{
    static const QRegularExpression re(QStringLiteral(R"(^\s*(?:,|;|и|and|\+)\s*[#№]?\s*$)"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

std::vector<int> invoiceNumbersIn(const QString &purpose)
{
    std::vector<int> numbers;
    qsizetype previousEnd = 0;
    bool previousNamed = false;
    qsizetype i = 0;
    while (i < purpose.size()) {
        if (!isDigit(purpose[i])) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < purpose.size() && isDigit(purpose[i]))
            ++i;
        const qsizetype end = i;
        const auto at = [&](qsizetype k) {
            return k >= 0 && k < purpose.size() ? purpose[k] : QChar();
        };
        const bool separatorBefore =
            (at(start - 1) == QLatin1Char('.') || at(start - 1) == QLatin1Char(',')) &&
            isDigit(at(start - 2));
        const bool separatorAfter =
            (at(end) == QLatin1Char('.') || at(end) == QLatin1Char(',')) && isDigit(at(end + 1));
        const bool rate = at(end) == QLatin1Char('%');
        const QString before = purpose.mid(previousEnd, start - previousEnd);
        previousEnd = end;
        if (separatorBefore || separatorAfter || rate) {
            previousNamed = false;
            continue;
        }
        const bool named = markerBefore().match(before.right(40)).hasMatch() ||
                           (previousNamed && listGap().match(before).hasMatch());
        previousNamed = named;
        if (!named || end - start > 9)
            continue;
        numbers.push_back(QStringView(purpose).mid(start, end - start).toInt());
    }
    return numbers;
}
