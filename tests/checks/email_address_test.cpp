// Typed e-mail addresses: what passes, and the reason given for what does not.
#include "checks/email_address.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct AddressCase {
    const char *what;
    const char *typed;
    const char *problem; // nullptr: the address looks right
};

void PrintTo(const AddressCase &c, std::ostream *os)
{
    *os << c.what;
}

const AddressCase kCases[] = {
    {"plain", "buh@zarya.kz", nullptr},
    {"dots_plus_and_subdomain", "ivan.petrov+docs@mail.zarya.com.kz", nullptr},
    {"empty", "", "адрес не указан"},
    {"space_inside", "buh @zarya.kz", "в адресе пробел"},
    {"cyrillic_letter", "buh@zаrya.kz", "в адресе буква «а»: пишется латиницей"},
    {"no_at", "buh.zarya.kz", "в адресе нет знака @"},
    {"two_ats", "buh@zarya@kz", "в адресе больше одного знака @"},
    {"nothing_before_at", "@zarya.kz", "неверное имя до знака @"},
    {"two_dots_before_at", "ivan..petrov@zarya.kz", "неверное имя до знака @"},
    {"no_dot_in_domain", "buh@zarya", "неверное имя почтового сервера после знака @"},
    {"comma_for_dot", "buh@zarya,kz", "неверное имя почтового сервера после знака @"},
};

class EmailAddress : public testing::TestWithParam<AddressCase> {};

TEST_P(EmailAddress, ProblemIsNamed)
{
    const AddressCase &c = GetParam();
    const auto problem = emailAddressProblem(QString::fromUtf8(c.typed));
    if (!c.problem)
        EXPECT_FALSE(problem) << problem.value_or(QString()).toStdString();
    else
        EXPECT_EQ(problem.value_or(QString()), QString::fromUtf8(c.problem));
}

INSTANTIATE_TEST_SUITE_P(Typed, EmailAddress, testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.what); });

} // namespace
