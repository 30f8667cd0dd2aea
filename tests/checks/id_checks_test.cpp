// One table of identifiers as people type them, with the verdict and the reason each check
// gives.
#include "checks/id_checks.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <map>
#include <ostream>

namespace {

struct IdCase {
    const char *what;
    IdKind kind;
    const char *typed;
    bool ok;
    const char *reason; // the reason of a failing number, or what a passing one is
};

void PrintTo(const IdCase &c, std::ostream *os)
{
    *os << c.what;
}

const char kCheckDigit[] =
    "не сходится контрольная (последняя) цифра: в номере опечатка или переставлены цифры";
const char kMod97[] = "не сходятся контрольные цифры: в номере опечатка или переставлены знаки";
const char kHalykAccount[] = "счет в банке АО «Народный Банк Казахстана» (БИК HSBKKZKX)";

const IdCase kCases[] = {
    // BIN and IIN
    {"published_bin", IdKind::BinIin, "060440009474", true,
     "БИН юридического лица-резидента, головное подразделение"},
    {"bin_one_digit_changed", IdKind::BinIin, "060440019474", false, kCheckDigit},
    {"bin_digits_transposed", IdKind::BinIin, "060440090474", false, kCheckDigit},
    // The 11th digit weighs 11, which is 0 modulo 11: a slip there is never caught.
    {"bin_eleventh_digit_slip_passes", IdKind::BinIin, "060440009484", true,
     "БИН юридического лица-резидента, головное подразделение"},
    {"bin_grouped_with_spaces", IdKind::BinIin, " 060 440 009 474 ", true,
     "БИН юридического лица-резидента, головное подразделение"},
    {"bin_grouped_with_dashes", IdKind::BinIin, "060-440-009-474", true,
     "БИН юридического лица-резидента, головное подразделение"},
    {"bin_month_13", IdKind::BinIin, "061340009473", false,
     "3-я и 4-я цифры БИН — месяц регистрации, а не 13"},
    {"bin_unit_7", IdKind::BinIin, "060447009472", false,
     "6-я цифра БИН (вид подразделения) — от 0 до 3, а не 7"},
    {"fifth_digit_8", IdKind::BinIin, "060480009472", false,
     "5-я цифра — от 0 до 3 в ИИН или от 4 до 6 в БИН, а не 8"},
    {"iin_second_pass_weights", IdKind::BinIin, "850612301236", true,
     "ИИН физического лица (или ИП), дата рождения 12.06.1985"},
    {"iin_no_check_digit_at_all", IdKind::BinIin, "850612300440", false,
     "такой номер не выдается: его контрольная цифра не вычисляется; проверьте все цифры"},
    {"iin_31_february", IdKind::BinIin, "850231301239", false,
     "первые 6 цифр ИИН — дата рождения, а даты 31.02.1985 нет"},
    {"iin_29_february_2000", IdKind::BinIin, "000229501234", true,
     "ИИН физического лица (или ИП), дата рождения 29.02.2000"},
    {"iin_29_february_1900", IdKind::BinIin, "000229301231", false,
     "первые 6 цифр ИИН — дата рождения, а даты 29.02.1900 нет"},
    {"iin_century_digit_0", IdKind::BinIin, "850612001230", false,
     "7-я цифра ИИН (век рождения и пол) — от 1 до 6, а не 0"},
    {"bin_too_short", IdKind::BinIin, "123", false, "нужно 12 цифр, а введено 3"},
    {"bin_with_letter", IdKind::BinIin, "06044O009474", false,
     "знак «O» на 6-м месте: допустимы только цифры"},
    {"bin_empty_is_not_checked", IdKind::BinIin, "  ", true, ""},
    // IIK
    {"iik_halyk", IdKind::Iik, "KZ476010131000179714", true, kHalykAccount},
    {"iik_kaspi", IdKind::Iik, "KZ24722S000000686267", true,
     "счет в банке АО «KASPI BANK» (БИК CASPKZKA)"},
    {"iik_treasury", IdKind::Iik, "KZ24070105KSN0000000", true,
     "счет в банке РГУ «Комитет государственного казначейства МФ РК» (БИК KKMFKZ2A)"},
    {"iik_demo_own", IdKind::Iik, "KZ306017131000012345", true,
     "счет в банке АО «Народный Банк Казахстана» (БИК HSBKKZKX)"},
    {"iik_demo_client", IdKind::Iik, "KZ89856A1KZTD2001234", true,
     "счет в банке АО «Банк ЦентрКредит» (БИК KCJBKZKX)"},
    {"iik_unknown_bank_code", IdKind::Iik, "KZ58999A861000123456", true, "счет банка с кодом 999"},
    {"iik_one_character_changed", IdKind::Iik, "KZ476010131000179715", false, kMod97},
    {"iik_characters_transposed", IdKind::Iik, "KZ476010131000197714", false, kMod97},
    {"iik_letter_in_check_digits", IdKind::Iik, "KZ4A6010131000179714", false,
     "3-й и 4-й знаки ИИК — контрольные цифры, а не «4A»"},
    {"iik_letter_o_for_zero", IdKind::Iik, "KZ47601O131000179714", false, kMod97},
    {"iik_bank_code_letter", IdKind::Iik, "KZ4760A0131000179714", false,
     "5-7-й знаки ИИК — код банка из трех цифр, а не «60A»"},
    {"iik_lower_case", IdKind::Iik, "kz476010131000179714", true, kHalykAccount},
    {"iik_in_groups_of_four", IdKind::Iik, "KZ47 6010 1310 0017 9714", true, kHalykAccount},
    {"iik_russian_k", IdKind::Iik, "КZ476010131000179714", false,
     "«К» на 1-м месте — русская буква, нужна латинская"},
    {"iik_not_kz", IdKind::Iik, "RU476010131000179714", false, "ИИК начинается с KZ, а не с «RU»"},
    {"iik_19_characters", IdKind::Iik, "KZ47601013100017971", false,
     "в ИИК 20 знаков, а введено 19"},
    {"iik_with_number_sign", IdKind::Iik, "№KZ476010131000179714", false,
     "знак «№» на 1-м месте: допустимы только латинские буквы и цифры"},
    // BIK
    {"bik_halyk", IdKind::Bik, "HSBKKZKX", true, "АО «Народный Банк Казахстана»"},
    {"bik_lower_case", IdKind::Bik, "hsbkkzkx", true, "АО «Народный Банк Казахстана»"},
    {"bik_unknown", IdKind::Bik, "ABCDKZKA", true, ""},
    {"bik_seven_characters", IdKind::Bik, "HSBKKZK", false, "в БИК 8 знаков, а введено 7"},
    {"bik_russian_letters", IdKind::Bik, "HSBKKZКХ", false,
     "«К» на 7-м месте — русская буква, нужна латинская"},
    {"bik_renamed", IdKind::Bik, "SABRKZKA", false, "банк сменил этот БИК на BRKEKZKA"},
    {"bik_closed_bank", IdKind::Bik, "KZKOKZKX", false,
     "этот БИК был у банка АО «Казкоммерцбанк», который больше не работает"},
    // KBE and KNP
    {"kbe_resident", IdKind::Kbe, "17", true, "резидент, сектор экономики 7"},
    {"kbe_non_resident", IdKind::Kbe, "21", true, "нерезидент, сектор экономики 1"},
    {"kbe_first_digit_3", IdKind::Kbe, "37", false,
     "1-я цифра — 1 (резидент) или 2 (нерезидент), а не 3"},
    {"kbe_sector_0", IdKind::Kbe, "10", false, "2-я цифра — сектор экономики от 1 до 9, а не 0"},
    {"kbe_three_digits", IdKind::Kbe, "171", false, "нужно 2 цифры, а введено 3"},
    {"knp", IdKind::Knp, "710", true, ""},
    {"knp_two_digits", IdKind::Knp, "71", false, "нужно 3 цифры, а введено 2"},
    {"knp_letter", IdKind::Knp, "7l0", false, "знак «L» на 2-м месте: допустимы только цифры"},
};

class IdChecks : public ::testing::TestWithParam<IdCase> {};

TEST_P(IdChecks, VerdictAndReason)
{
    const IdCase &c = GetParam();
    const IdVerdict verdict = checkId(c.kind, QString::fromUtf8(c.typed));
    EXPECT_EQ(verdict.ok, c.ok);
    EXPECT_EQ((c.ok ? verdict.about : verdict.reason).toStdString(), c.reason);
}

INSTANTIATE_TEST_SUITE_P(Numbers, IdChecks, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.what); });

// A record's problems name the value and say why; the IIK's bank and a BIK of another
// known bank disagree.
TEST(IdProblems, EachFailingValueAndABikOfAnotherBank)
{
    const std::map<QString, QString> client = {
        {QStringLiteral("BINIIN"), QStringLiteral("123")},
        {QStringLiteral("KBE"), QStringLiteral("17")},
        {QStringLiteral("IIK"), QStringLiteral("KZ476010131000179714")},
        {QStringLiteral("BIK"), QStringLiteral("CASPKZKA")}};
    const auto problems =
        idProblems(kPartyIds, [&](const QString &field) { return client.at(field); });
    EXPECT_EQ(problemTexts(problems, QStringLiteral("Клиент: ")),
              QStringList({QStringLiteral("Клиент: БИН (ИИН) 123: нужно 12 цифр, а введено 3"),
                           QStringLiteral("Клиент: БИК CASPKZKA: это БИК банка АО «KASPI BANK», а "
                                          "счет KZ476010131000179714 — в банке АО «Народный Банк "
                                          "Казахстана» (БИК HSBKKZKX)")}));
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].field, QStringLiteral("BINIIN"));
    EXPECT_EQ(problems[1].field, QStringLiteral("BIK"));
}

TEST(IdProblems, EmptyValuesAndAnUnknownBikPass)
{
    EXPECT_TRUE(idProblems(kPartyIds, [](const QString &) { return QString(); }).empty());
    const auto unknownBik = [](const QString &field) {
        return field == QLatin1String("IIK") ? QStringLiteral("KZ476010131000179714")
                                             : QStringLiteral("ABCDKZKA");
    };
    EXPECT_TRUE(idProblems(kAccountIds, unknownBik).empty());
}

} // namespace
