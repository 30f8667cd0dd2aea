#include "money.h"

#include <cmath>
#include <limits>

static_assert(std::numeric_limits<long double>::digits == 64,
              "stored amounts are computed in 80-bit extended precision");

namespace {

using Extended = long double;

// The double nearest 0.01, deliberately not the nearer extended value 0.01L.
constexpr double hundredth = 0.01;

// An expression evaluated in extended precision is stored as a double before it is rounded.
double roundStored(Extended exact)
{
    return roundMoney(static_cast<double>(exact));
}

} // namespace

double roundMoney(double x)
{
    // rint rounds in the default mode, to nearest with exact halves to even.
    const Extended steps = std::rint(Extended(x) / Extended(hundredth));
    return static_cast<double>(steps * Extended(hundredth));
}

LineAmounts computeLineAmounts(int vatMode, double kolvo, double cenasht, double stnds)
{
    const Extended quantity = kolvo;
    const Extended rate = stnds;
    LineAmounts line{};
    if (vatMode == 0) {
        line.strealiz = roundStored(quantity * cenasht);
        line.sumnds = stnds != 0 ? roundStored(line.strealiz * rate / (rate + 100)) : 0;
        line.cenasumbeznds = roundStored(Extended(line.strealiz) - line.sumnds);
    } else {
        line.sumnds = stnds != 0 ? roundStored(quantity * cenasht * rate / 100) : 0;
        line.cenasumbeznds = roundStored(quantity * cenasht);
        line.strealiz = roundStored(Extended(line.cenasumbeznds) + line.sumnds);
    }
    return line;
}
