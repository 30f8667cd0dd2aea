#include "commands.h"

#include <cstdio>

int runRender(const QStringList &)
{
    std::fputs("render: not built yet\n", stderr);
    return 2;
}
