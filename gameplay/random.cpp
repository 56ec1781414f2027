// random.cpp: the counted random source.
#include "gameplay/random.h"

#include <cstdlib>

static long drawsTaken = 0;

int GameRandom()
{
    drawsTaken++;
    return std::rand();
}

long RandomDraws()
{
    return drawsTaken;
}

void RestartRandom()
{
    // An unseeded generator starts as if seeded with 1.
    std::srand(1);
    drawsTaken = 0;
}

void SkipRandom(long n)
{
    for (long i = 0; i < n; i++)
        GameRandom();
}
