// seam.h: the few hooks that let tests and tools drive the blocking screen
// loops. The shipped game leaves them alone.
#ifndef DELVORN_SEAM_H
#define DELVORN_SEAM_H

// Called at the end of every PresentFrame and every pass of a wait loop;
// a test holds and releases keys from it, pass by pass.
extern void (*passHook)();

// When set, WaitMs returns at once (tests, the headless trace tool).
extern bool skipWaits;

// rest(ms) unless skipWaits.
void WaitMs(int ms);

// One pass of a loop that waits without drawing (keypressed, key latch):
// runs passHook and gives up the time slice.
void WaitPass();

#endif
