#pragma once

// Amounts in tenge and tiyn, and quantities, written out in Russian words for the printed forms.

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// What one conversion carries from digit to digit; digits are fed from the highest position down.
struct PropisState {
    int d;   // the digit, 0-9
    int p;   // its position from the right: 1-3 units, 4-6 thousands, 7-9 millions, 10-12 billions
    bool T;  // the digit before was a 1 in a tens place, so this one ends a teen
    bool F3; // the thousands group has a non-zero digit in its tens or hundreds place
    bool F2; // the same for the millions group
    bool F1; // the same for the billions group
};

// Word stems by digit; only the zero is a whole word, hence its trailing blank.
inline constexpr std::array<QStringView, 10> DigitStems = {
    u"ноль ", u"оди", u"две", u"три", u"четыр", u"пят", u"шест", u"сем", u"восем", u"девят",
};

// The words one digit contributes, each followed by a blank; updates the flags of the state.
// Positions above 12 contribute nothing, and so does a "digit" outside 0-9.
QString DigitPropis(PropisState &state);

// The words of a string of decimal digits in lower case, each followed by a blank; "ноль " for
// "" and "0". Leading zeros contribute nothing. Any character other than 0-9 gives an empty text.
QString NumPropis(const QString &digits);

// "Сто двадцать три тенге 45 тиын". Nothing when the value cannot be written: negative (-0.0
// counts as zero), NaN, or 10^12 and more once rounded to hundredths.
std::optional<QString> SumPropis(double value);

// The whole part of a quantity, "Двадцать один"; the fraction is dropped after the rounding to
// hundredths. Nothing exactly where SumPropis gives nothing.
std::optional<QString> QuantityPropis(double value);
