#include "qt_printing.h"
#include "report/memo_format.h"
#include "report/value_text.h"
#include "scoped_locale.h"

#include <gtest/gtest.h>

using namespace zreport;

namespace {

struct FormatCase {
    const char *name;
    QVariant value;
    FormatKind kind;
    QString formatStr;
    QString expected;
    QString decimalSeparator = {};
};

void PrintTo(const FormatCase &c, std::ostream *os)
{
    *os << c.name;
}

class DisplayFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(DisplayFormats, TurnValuesIntoText)
{
    const FormatCase &c = GetParam();
    DisplayFormat format;
    format.kind = c.kind;
    format.formatStr = c.formatStr;
    format.decimalSeparator = c.decimalSeparator;
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    EXPECT_EQ(formatValue(c.value, format, russian), c.expected);
}

const QDateTime kMidnight(QDate(2024, 3, 5), QTime(0, 0));
const QDateTime kAfternoon(QDate(2024, 3, 5), QTime(14, 7, 9));
const auto N = FormatKind::fkNumeric;
const auto D = FormatKind::fkDateTime;
const auto B = FormatKind::fkBoolean;
const auto T = FormatKind::fkText;

INSTANTIATE_TEST_SUITE_P(
    Cases, DisplayFormats,
    ::testing::Values(
        FormatCase{"fixedTwoDecimals", 1234.5, N, "%2.2f", "1234,50"},
        FormatCase{"fixedZero", 0.0, N, "%2.2f", "0,00"},
        FormatCase{"fixedWholeNumber", 7, N, "%2.2f", "7,00"},
        FormatCase{"fixedNegative", -3.456, N, "%2.2f", "-3,46"},
        FormatCase{"fixedExactHalfAwayFromZero", 0.125, N, "%2.2f", "0,13"},
        FormatCase{"fixedNegativeHalf", -0.125, N, "%2.2f", "-0,13"},
        FormatCase{"fixedBinaryBelowHalf", 1.005, N, "%2.2f", "1,00"},
        FormatCase{"fixedPadsToWidth", 1.5, N, "%8.1f", "     1,5"},
        FormatCase{"fixedWithText", 2.0, N, "Итого %2.2f тг", "Итого 2,00 тг"},
        FormatCase{"fixedOwnDecimalSeparator", 1234.5, N, "%2.2f", "1234.50", "."},
        FormatCase{"integerFormat", 41.6, N, "%d", "42"},
        FormatCase{"groupedFormat", 1234567.891, N, "%.2n",
                   QStringLiteral("1\u00A0234\u00A0567,89")},
        FormatCase{"pictureGrouped", 1234567.891, N, "#,##0.00",
                   QStringLiteral("1\u00A0234\u00A0567,89")},
        FormatCase{"pictureOptionalDecimals", 2.5, N, "0.##", "2,5"},
        FormatCase{"pictureNegativeSection", -2.0, N, "0.00;(0.00)", "(2,00)"},
        FormatCase{"numericTextFallsBackToText", QStringLiteral("abc"), N, "%2.2f", "abc"},
        FormatCase{"numericTextThatIsANumber", QStringLiteral("2,5"), N, "%2.2f", "2,50"},
        FormatCase{"nullIsEmpty", QVariant(), N, "%2.2f", ""},
        FormatCase{"dateAtMidnight", kMidnight, D, "", "05.03.2024"},
        FormatCase{"dateWithTime", kAfternoon, D, "", "05.03.2024 14:07:09"},
        FormatCase{"dayZero", 0, D, "", "30.12.1899"},
        FormatCase{"datePattern", kAfternoon, D, "dd.mm.yyyy hh:nn", "05.03.2024 14:07"},
        FormatCase{"booleanTrue", true, B, "Да,Нет", "Да"},
        FormatCase{"booleanFalse", false, B, "Да,Нет", "Нет"},
        FormatCase{"textOfAFloat", 6.5, T, "", "6,5"},
        FormatCase{"textOfFifteenDigits", 0.1 + 0.2, T, "", "0,3"},
        FormatCase{"textOfALargeFloat", 1e20, T, "", "1E20"},
        FormatCase{"textOfASmallFloat", 0.00001234, T, "", "0,00001234"},
        FormatCase{"textOfASmallerFloat", 0.000001234, T, "", "1,234E-6"},
        FormatCase{"textOfAWholeNumber", qlonglong(-12), T, "", "-12"},
        FormatCase{"textOfABoolean", true, T, "", "True"},
        FormatCase{"textOfADate", kAfternoon, T, "", "05.03.2024 14:07:09"}),
    [](const auto &info) { return info.param.name; });

// The formats the printed forms use give the same text on every desktop a user here may run:
// the C library's locale and Qt's default follow the desktop, a printed form does not.
struct FormFormatCase {
    const char *name;
    QVariant value;
    FormatKind kind;
    QString formatStr;
    QString expected;
};

void PrintTo(const FormFormatCase &c, std::ostream *os)
{
    *os << c.name;
}

class FormFormatsOnEveryDesktop
    : public ::testing::TestWithParam<std::tuple<const char *, FormFormatCase>> {};

TEST_P(FormFormatsOnEveryDesktop, GiveTheFormsOwnText)
{
    const auto &[locale, c] = GetParam();
    const ScopedLocale desktop(locale);
    ASSERT_TRUE(desktop.installed()) << locale << " is not generated on this machine";
    DisplayFormat format;
    format.kind = c.kind;
    format.formatStr = c.formatStr;
    EXPECT_EQ(formatValue(c.value, format), c.expected);
    EXPECT_EQ(plainText(c.value), formatValue(c.value, DisplayFormat{})) << "plain text too";
}

const QString kNbsp = QStringLiteral("\u00A0");

INSTANTIATE_TEST_SUITE_P(
    Cases, FormFormatsOnEveryDesktop,
    ::testing::Combine(
        ::testing::Values("ru_RU.UTF-8", "kk_KZ.UTF-8", "en_US.UTF-8", "C.UTF-8"),
        ::testing::Values(FormFormatCase{"fixed", 3786.1, N, "%2.2f", "3786,10"},
                          FormFormatCase{"fixedSmall", 12.5, N, "%2.2f", "12,50"},
                          FormFormatCase{"grouped", 1234567.891, N, "%2.2n",
                                         "1" + kNbsp + "234" + kNbsp + "567,89"},
                          FormFormatCase{"picture", 150.55, N, "#,##0.00", "150,55"},
                          FormFormatCase{"pictureGrouped", 1120.0, N, "#,##0.00",
                                         "1" + kNbsp + "120,00"},
                          FormFormatCase{"date", kMidnight, D, "", "05.03.2024"},
                          FormFormatCase{"dateWithTime", kAfternoon, D, "", "05.03.2024 14:07:09"},
                          FormFormatCase{"textOfAFloat", 6.5, T, "", "6,5"},
                          FormFormatCase{"textOfADate", kMidnight, T, "", "05.03.2024"})),
    [](const auto &info) {
        const std::string locale = std::get<0>(info.param);
        return std::string(std::get<1>(info.param).name) + "_" + locale.substr(0, locale.find('.'));
    });

TEST(DayNumbers, CountFromTheThirtiethOfDecember1899)
{
    EXPECT_EQ(dateTimeFromDayNumber(45356.5), QDateTime(QDate(2024, 3, 5), QTime(12, 0)));
    EXPECT_DOUBLE_EQ(dayNumberFromDateTime(QDateTime(QDate(1900, 1, 1), QTime(6, 0))), 2.25);
}

} // namespace
