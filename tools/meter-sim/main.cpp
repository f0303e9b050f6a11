#include <cstdio>

int main()
{
    std::fprintf(stderr, "mrv-meter-sim: not built yet\n");
    return 2;
}
