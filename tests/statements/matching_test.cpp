// Which open document an incoming payment pays: the numbers a purpose names, and the three rules.
#include "statements/invoice_numbers.h"
#include "statements/matching.h"

#include <gtest/gtest.h>

namespace {

struct NumbersCase {
    const char *purpose;
    std::vector<int> numbers;
};

const NumbersCase kNumbers[] = {
    {"оплата по счету № 12 от 01.12.2026", {12}},
    {"Оплата за товар сч.12", {12}},
    {"счет на оплату 12", {12}},
    {"СФ 12 от 28.11.2026", {12}},
    {"по с/ф №31, в т.ч. НДС 12%", {31}},
    {"Счет-фактура № 0045", {45}},
    {"счета 12, 13 и №14", {12, 13, 14}},
    {"Invoice No. 7", {7}},
    {"шот-фактура № 5", {5}},
    {"#88 оплата", {88}},
    {"за товар 12 шт. на сумму 1500.00", {}},
    {"договор 12 от 12.12.2026, НДС 12%", {}},
    {"сч 1234567890123", {}},
};

TEST(InvoiceNumbers, AreThoseThePurposeNames)
{
    for (const NumbersCase &c : kNumbers)
        EXPECT_EQ(invoiceNumbersIn(QString::fromUtf8(c.purpose)), c.numbers) << c.purpose;
}

// A client's open documents: KOD, NUMSCH, NUMSCHF, due.
const std::vector<OpenDocument> kDocuments = {
    {1, 12, 31, 1000}, {2, 13, 32, 500}, {3, 14, 33, 500}, {4, 7, 0, 2000}, {5, 31, 0, 300}};

struct MatchCase {
    const char *name;
    const char *purpose;
    double amount;
    int document;
    MatchRule rule;
};

void PrintTo(const MatchCase &c, std::ostream *os)
{
    *os << c.name;
}

const MatchCase kMatches[] = {
    {"InvoiceNumberWholeDue", "Оплата по счету № 12 от 01.12.2026", 1000, 1,
     MatchRule::NumberInPurpose},
    {"InvoiceNumberPartOfDue", "сч.12", 600, 1, MatchRule::NumberInPurpose},
    {"VatInvoiceNumber", "с/ф № 32", 500, 2, MatchRule::NumberInPurpose},
    {"InvoiceNumberBeforeVatInvoiceNumber", "СФ 31", 300, 5, MatchRule::NumberInPurpose},
    {"VatInvoiceNumberWhenTheInvoiceCannotTakeIt", "СФ 31", 800, 1, MatchRule::NumberInPurpose},
    {"NumberBeatsTwoEqualDues", "счет на оплату 13", 500, 2, MatchRule::NumberInPurpose},
    {"NamedButDueTooSmallExactAmountElsewhere", "по счету № 13", 2000, 4, MatchRule::ExactAmount},
    {"NamedButDueTooSmallNothingElse", "по счету № 12", 1500, 0, MatchRule::None},
    {"NoNumberOneExactDue", "оплата за услуги", 2000, 4, MatchRule::ExactAmount},
    {"NoNumberTwoExactDues", "оплата за услуги", 500, 0, MatchRule::None},
    {"DateIsNoNumber", "оплата от 12.12.2026", 600, 0, MatchRule::None},
    {"UnknownNumberNoExactDue", "сч. 99", 100, 0, MatchRule::None},
};

class Matching : public ::testing::TestWithParam<MatchCase> {};

TEST_P(Matching, FollowsTheRules)
{
    const MatchCase &c = GetParam();
    const DocumentMatch match = matchDocument(kDocuments, QString::fromUtf8(c.purpose), c.amount);
    EXPECT_EQ(match.document, c.document);
    EXPECT_EQ(match.rule, c.rule);
}

INSTANTIATE_TEST_SUITE_P(Rules, Matching, ::testing::ValuesIn(kMatches),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(DocumentMatcher, WhatAPaymentPaysIsOffTheDueForTheNext)
{
    const QString bin = QStringLiteral("150940023457");
    DocumentMatcher matcher({{bin, kDocuments}});
    EXPECT_EQ(
        matcher.match(QStringLiteral(" 150940023457 "), QStringLiteral("сч.12"), 600).document, 1);
    // 400 left of invoice 12: not enough for another 600.
    EXPECT_EQ(matcher.match(bin, QStringLiteral("сч.12"), 600).document, 0);
    EXPECT_EQ(matcher.match(bin, QStringLiteral("сч.12"), 400).document, 1);
    // Invoice 12 is paid: 300 is now the due of document 5 alone.
    EXPECT_EQ(matcher.match(bin, QStringLiteral("оплата"), 300).document, 5);
    std::vector<int> open;
    for (const OpenDocument &d : matcher.documentsOf(bin))
        open.push_back(d.kod);
    EXPECT_EQ(open, (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(matcher.match(QStringLiteral("990000000000"), QStringLiteral("сч.12"), 1).document,
              0);
    EXPECT_EQ(matcher.match(QString(), QStringLiteral("сч.12"), 1).document, 0);
}

} // namespace
