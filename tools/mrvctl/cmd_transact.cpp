#include "Commands.h"

#include <cstdio>

int RunTransact(int, char** argv)
{
    std::fprintf(stderr, "mrvctl %s: not available in this build\n", argv[0]);
    return 2;
}
