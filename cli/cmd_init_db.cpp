#include "commands.h"

#include <cstdio>

int runInitDb(const QStringList &)
{
    std::fputs("init-db: not built yet\n", stderr);
    return 2;
}
