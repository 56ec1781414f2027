// seam.cpp: hooks for tests and tools around the blocking screen loops.
#include "base/seam.h"

#include <allegro.h>

void (*passHook)() = nullptr;
bool skipWaits = false;

void WaitMs(int ms)
{
    if (!skipWaits && ms > 0)
        rest(ms);
}

void WaitPass()
{
    if (passHook)
        passHook();
    else
        rest(1);  // gives up the time slice without spinning a core
}
