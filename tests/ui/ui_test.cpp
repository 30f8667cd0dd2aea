#include "scoped_locale.h"
#include "ui/numeric_key_filter.h"
#include "ui/prompt_service.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QStringList buttonTexts(QMessageBox &box)
{
    QStringList texts;
    for (QAbstractButton *button : box.buttons())
        texts << button->text().remove(QLatin1Char('&'));
    texts.sort();
    return texts;
}

TEST(MessageBoxPrompts, ConfirmationErrorAndMessageBoxes)
{
    auto confirm = MessageBoxPrompts::makeBox(MessageBoxPrompts::Kind::Confirm, nullptr,
                                              QStringLiteral("Удалить?"));
    EXPECT_EQ(confirm->windowTitle(), QStringLiteral("Confirm"));
    EXPECT_EQ(confirm->text(), QStringLiteral("Удалить?"));
    EXPECT_EQ(buttonTexts(*confirm), (QStringList{QStringLiteral("No"), QStringLiteral("Yes")}));

    auto error = MessageBoxPrompts::makeBox(MessageBoxPrompts::Kind::Error, nullptr,
                                            QStringLiteral("Нет связи"), QStringLiteral("Error"));
    EXPECT_EQ(error->windowTitle(), QStringLiteral("Error"));
    EXPECT_EQ(error->icon(), QMessageBox::Critical);
    EXPECT_EQ(buttonTexts(*error), QStringList{QStringLiteral("OK")});

    auto message = MessageBoxPrompts::makeBox(MessageBoxPrompts::Kind::Inform, nullptr,
                                              QStringLiteral("Таблица пуста"));
    EXPECT_EQ(buttonTexts(*message), QStringList{QStringLiteral("OK")});
}

struct KeyCase {
    NumericKeyFilter::Kind kind;
    QString typed;
    QString kept;
};

void PrintTo(const KeyCase &c, std::ostream *os)
{
    *os << (c.kind == NumericKeyFilter::Kind::Integer ? "whole number" : "fraction") << ", typed \""
        << c.typed.toStdString() << "\"";
}

class NumberBox : public ::testing::TestWithParam<KeyCase> {
    ScopedLocale m_locale{QLocale(QLocale::Russian, QLocale::Kazakhstan)};
};

TEST_P(NumberBox, KeepsOnlyTheCharactersOfANumber)
{
    QLineEdit box;
    NumericKeyFilter::install(&box, GetParam().kind);
    QTest::keyClicks(&box, GetParam().typed);
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.text(), GetParam().kept);
}

using Kind = NumericKeyFilter::Kind;
INSTANTIATE_TEST_SUITE_P(
    Kinds, NumberBox,
    ::testing::Values(KeyCase{Kind::Integer, QStringLiteral("-12a3,4 "), QStringLiteral("-123")},
                      KeyCase{Kind::Integer, QStringLiteral("+7e"), QStringLiteral("+")},
                      KeyCase{Kind::Fractional, QStringLiteral("1,5e+2x"), QStringLiteral("1,5e+")},
                      // The full stop is a decimal point whatever the desktop's separator.
                      KeyCase{Kind::Fractional, QStringLiteral("12.5;"), QStringLiteral("12.")},
                      KeyCase{Kind::Fractional, QStringLiteral("abc12"), QStringLiteral("1")}),
    [](const auto &info) {
        return (info.param.kind == Kind::Integer ? "Integer" : "Fractional") +
               std::to_string(info.index);
    });

} // namespace
