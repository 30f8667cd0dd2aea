#include "commands.h"

#include <cstdio>

int runWords(const QStringList &)
{
    std::fputs("words: not built yet\n", stderr);
    return 2;
}

int runRound(const QStringList &)
{
    std::fputs("round: not built yet\n", stderr);
    return 2;
}

int runCalcLine(const QStringList &)
{
    std::fputs("calc-line: not built yet\n", stderr);
    return 2;
}
