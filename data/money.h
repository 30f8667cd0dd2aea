#pragma once

// Money arithmetic of stored amounts: rounding to hundredths and the amounts of one document line.
//
// Amounts are doubles. Every expression whose result is stored is evaluated in x87 extended
// precision from the stored doubles, stored as a double, and only then rounded to hundredths;
// documents printed earlier carry amounts computed this way, so the extra precision is part of
// the result, not an accident of the hardware.

// x to hundredths: x divided by the double nearest 0.01 in extended precision, rounded to the
// nearest integer with exact halves to the even one, times that double. The binary 0.01 puts
// decimal halves on either side: 0.125 gives 0.12, 0.025 gives 0.03.
double roundMoney(double x);

struct LineAmounts {
    double strealiz;      // amount with VAT
    double sumnds;        // VAT
    double cenasumbeznds; // amount without VAT
};

// The amounts of a line from its quantity, unit price and VAT rate (percent) under the business's
// VAT mode: 0 the price includes VAT; any other mode adds VAT on top of the price (mode 2, "without
// VAT", still charges the line's rate when it is not zero).
LineAmounts computeLineAmounts(int vatMode, double kolvo, double cenasht, double stnds);
