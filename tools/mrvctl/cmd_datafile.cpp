#include "Commands.h"

#include <cstdio>

int RunDownload(int, char** argv)
{
    std::fprintf(stderr, "mrvctl %s: not available in this build\n", argv[0]);
    return 2;
}

int RunShow(int, char** argv)
{
    std::fprintf(stderr, "mrvctl %s: not available in this build\n", argv[0]);
    return 2;
}

int RunImport(int, char** argv)
{
    std::fprintf(stderr, "mrvctl %s: not available in this build\n", argv[0]);
    return 2;
}

int RunConvert(int, char** argv)
{
    std::fprintf(stderr, "mrvctl %s: not available in this build\n", argv[0]);
    return 2;
}

