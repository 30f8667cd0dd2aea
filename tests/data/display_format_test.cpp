#include "data/date_time.h"
#include "data/display_format.h"
#include "scoped_locale.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

class DisplayFormat : public ::testing::Test {
protected:
    ScopedLocale m_locale{QLocale(QLocale::Russian, QLocale::Kazakhstan)};
};

TEST_F(DisplayFormat, NumbersInTheGeneralFormOfTheLocale)
{
    EXPECT_EQ(display::number(1234.5), QStringLiteral("1234,5"));
    EXPECT_EQ(display::number(3360), QStringLiteral("3360"));
    EXPECT_EQ(display::number(0.1 + 0.2), QStringLiteral("0,3"));
    EXPECT_EQ(display::number(268.84000000000003), QStringLiteral("268,84"));
    EXPECT_EQ(display::number(-2.5), QStringLiteral("-2,5"));
}

TEST_F(DisplayFormat, DatesShowTheTimeOnlyWhenItIsNotMidnight)
{
    EXPECT_EQ(display::dateTime(datetime::make(QDate(2026, 3, 2))), QStringLiteral("02.03.2026"));
    EXPECT_EQ(display::dateTime(datetime::make(QDate(2026, 3, 2), QTime(13, 5, 7))),
              QStringLiteral("02.03.2026 13:05:07"));
    EXPECT_EQ(display::dateTime(datetime::zero()), QStringLiteral("30.12.1899"));
}

TEST_F(DisplayFormat, ParsingTakesBackWhatIsShown)
{
    EXPECT_EQ(display::parse(QStringLiteral("1234,5"), FieldType::Float)->toDouble(), 1234.5);
    EXPECT_EQ(
        display::parse(QStringLiteral("02.03.2026 13:05:07"), FieldType::DateTime)->toDateTime(),
        datetime::make(QDate(2026, 3, 2), QTime(13, 5, 7)));
    EXPECT_TRUE(display::parse(QString(), FieldType::Integer)->isNull());
    EXPECT_TRUE(display::parse(QStringLiteral("   "), FieldType::DateTime)->isNull());
    EXPECT_FALSE(display::parse(QStringLiteral("abc"), FieldType::Float));
    EXPECT_FALSE(display::parse(QStringLiteral("40000"), FieldType::SmallInt));
    EXPECT_FALSE(display::parse(QStringLiteral("31.02.2026"), FieldType::DateTime));
}

TEST_F(DisplayFormat, ShortYearsOfTheLocaleReadBackAsTheSameDay)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QDateTime day = datetime::make(QDate(2026, 3, 2));
    const QString shown = display::dateTime(day);
    ASSERT_EQ(shown, QStringLiteral("3/2/26"));
    EXPECT_EQ(display::parse(shown, FieldType::DateTime)->toDateTime(), day);
    const int lastYearOfWindow = QDate::currentDate().year() + 49;
    const QString typed =
        QStringLiteral("1/1/%1").arg(lastYearOfWindow % 100, 2, 10, QLatin1Char('0'));
    EXPECT_EQ(display::parse(typed, FieldType::DateTime)->toDateTime().date().year(),
              lastYearOfWindow);
    EXPECT_EQ(
        display::parse(QStringLiteral("1/1/2126"), FieldType::DateTime)->toDateTime().date().year(),
        2126)
        << "a four-digit year is taken as typed";
}

} // namespace
