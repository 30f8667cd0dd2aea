#include "amount_words.h"

#include <charconv>
#include <string>
#include <string_view>

namespace {

// The words that close a group of three digits (thousands, millions, billions) by its last digit.
struct GroupWords {
    QStringView none; // units 0 under non-zero tens or hundreds: "тысяч "
    QStringView one;  // replaces the unit word: "одна тысяча "
    QStringView two;  // replaces the unit word: "две тысячи "
    QStringView few;  // after 3 and 4: "тысячи "
    QStringView many; // after 5-9 and after a teen: "тысяч "
};

struct Group {
    int units; // position of the group's units digit
    GroupWords words;
    bool PropisState::*filled; // the flag that says the group has digits above its units
};

constexpr std::array<Group, 3> groups = {{
    {4, {u"тысяч ", u"одна тысяча ", u"две тысячи ", u"тысячи ", u"тысяч "}, &PropisState::F3},
    {7,
     {u"миллионов ", u"один миллион ", u"два миллиона ", u"миллиона ", u"миллионов "},
     &PropisState::F2},
    {10,
     {u"миллиардов ", u"один миллиард ", u"два миллиарда ", u"миллиарда ", u"миллиардов "},
     &PropisState::F1},
}};

const Group *groupWithUnitsAt(int position)
{
    for (const Group &group : groups) {
        if (group.units == position)
            return &group;
    }
    return nullptr;
}

void appendTeen(int d, QString &text)
{
    if (d == 0) {
        text += u"десять ";
    } else if (d == 1) {
        text += u"одиннадцать "; // the stem "оди" would lose the double н
    } else if (d == 2) {
        text += u"двенадцать ";
    } else {
        text += DigitStems[d];
        text += u"надцать ";
    }
}

void appendTens(int d, QString &text)
{
    switch (d) {
    case 2:
        text += u"двадцать ";
        break;
    case 3:
        text += DigitStems[d];
        text += u"дцать ";
        break;
    case 4:
        text += u"сорок ";
        break;
    case 5:
    case 6:
    case 7:
    case 8:
        text += DigitStems[d];
        text += u"ьдесят ";
        break;
    case 9:
        text += u"девяносто ";
        break;
    default:
        break;
    }
}

void appendHundreds(int d, QString &text)
{
    switch (d) {
    case 0:
        break;
    case 1:
        text += u"сто ";
        break;
    case 2:
        text += u"двести ";
        break;
    case 3:
        text += u"триста ";
        break;
    case 4:
        text += u"четыреста ";
        break;
    default:
        text += DigitStems[d];
        text += u"ьсот ";
        break;
    }
}

// Masculine, as "тенге" and a bare count want them; "тысяча" takes its feminine "одна", "две"
// from its group words, which replace these.
void appendUnits(int d, QString &text)
{
    switch (d) {
    case 0:
        break;
    case 1:
        text += u"один ";
        break;
    case 2:
        text += u"два ";
        break;
    case 3:
        text += u"три ";
        break;
    case 4:
        text += u"четыре ";
        break;
    default:
        text += DigitStems[d];
        text += u"ь ";
        break;
    }
}

// The digit's own words start at digitStart; for 0, 1 and 2 the group word takes their place.
void appendGroupWord(int d, bool &groupFilled, const GroupWords &group, qsizetype digitStart,
                     QString &text)
{
    switch (d) {
    case 0:
        if (groupFilled)
            text += group.none;
        break;
    case 1:
        text.truncate(digitStart);
        text += group.one;
        break;
    case 2:
        text.truncate(digitStart);
        text += group.two;
        break;
    case 3:
    case 4:
        text += group.few;
        break;
    default:
        text += group.many;
        break;
    }
    groupFilled = false;
}

// DigitPropis, appending to the text being built rather than returning a text of its own: a
// number is spelt without one allocation per digit.
void appendDigitWords(PropisState &state, QString &text)
{
    const int d = state.d;
    const int p = state.p;
    if (d < 0 || d > 9)
        return;

    for (const Group &group : groups) {
        if (d != 0 && (p == group.units + 1 || p == group.units + 2))
            state.*group.filled = true;
    }

    const Group *group = groupWithUnitsAt(p);
    if (state.T) {
        appendTeen(d, text);
        if (group)
            text += group->words.many;
        state.T = state.F1 = state.F2 = state.F3 = false;
        return;
    }

    switch (p) {
    case 2:
    case 5:
    case 8:
    case 11:
        if (d == 1)
            state.T = true;
        appendTens(d, text);
        break;
    case 3:
    case 6:
    case 9:
    case 12:
        appendHundreds(d, text);
        break;
    case 1:
    case 4:
    case 7:
    case 10: {
        const qsizetype digitStart = text.size();
        appendUnits(d, text);
        if (group)
            appendGroupWord(d, state.*group->filled, group->words, digitStart, text);
        break;
    }
    default:
        break;
    }
}

// NumPropis over ASCII digits, appending to text.
void appendNumberWords(std::string_view digits, QString &text)
{
    if (digits.empty() || digits == "0") {
        text += u"ноль ";
        return;
    }
    PropisState state{0, 0, false, false, false, false};
    const int length = int(digits.size());
    for (int i = 0; i < length; ++i) {
        state.d = digits[i] - '0';
        state.p = length - i;
        appendDigitWords(state, text);
    }
}

// The value in hundredths as decimal digits: its 18 significant digits rounded half away from
// zero at the second decimal. The value is at least 0 and below 10^12.
std::string hundredthsDigits(double value)
{
    char text[32];
    const auto written =
        std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 17);
    // text is "d.ddddddddddddddddde±XX"
    std::string mantissa(1, text[0]);
    mantissa.append(text + 2, 17);
    const char *exponentText = text + 20;
    const bool negativeExponent = *exponentText++ == '-';
    int exponent = 0;
    std::from_chars(exponentText, written.ptr, exponent);
    if (negativeExponent)
        exponent = -exponent;

    // Digits of value × 100 before its decimal point; below 18, as the value is below 10^12.
    const int kept = exponent + 3;
    if (kept <= 0)
        return kept == 0 && mantissa[0] >= '5' ? "1" : "0";
    std::string digits = mantissa.substr(0, kept);
    if (mantissa[kept] >= '5') {
        int i = kept - 1;
        while (i >= 0 && digits[i] == '9')
            digits[i--] = '0';
        if (i < 0)
            digits.insert(0, 1, '1');
        else
            ++digits[i];
    }
    return digits;
}

constexpr qsizetype maxIntegerDigits = 12;

} // namespace

QString DigitPropis(PropisState &state)
{
    QString words;
    appendDigitWords(state, words);
    return words;
}

QString NumPropis(const QString &digits)
{
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return {};
    }
    const QByteArray ascii = digits.toLatin1();
    QString words;
    appendNumberWords(std::string_view(ascii.constData(), ascii.size()), words);
    return words;
}

std::optional<QString> SumPropis(double value)
{
    if (!(value >= 0.0) || value >= 1e12)
        return std::nullopt;

    // -0.0, as rounding a small negative amount gives, is written as a plain zero.
    std::string hundredths = hundredthsDigits(value == 0.0 ? 0.0 : value);
    if (hundredths.size() < 3)
        hundredths.insert(0, 3 - hundredths.size(), '0');
    const auto integerLength = qsizetype(hundredths.size()) - 2;
    // 999999999999.996 is below 10^12 but rounds up to thirteen digits, which have no words.
    if (integerLength > maxIntegerDigits)
        return std::nullopt;

    QString words;
    words.reserve(200); // the longest amount, 999999999999.99, takes 165 characters
    appendNumberWords(std::string_view(hundredths.data(), integerLength), words);
    words[0] = words[0].toUpper();
    words += u"тенге ";
    words += QLatin1String(hundredths.data() + integerLength, 2);
    words += u" тиын";
    return words;
}

std::optional<QString> QuantityPropis(double value)
{
    std::optional<QString> words = SumPropis(value);
    if (!words)
        return std::nullopt;

    // "тенге" takes the same masculine units as a bare count, so the words carry over as they are.
    words->truncate(words->indexOf(u" тенге"));
    return words;
}
