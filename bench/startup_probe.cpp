// startup_probe: runs the game's own main and reports how long it takes from
// entering main to the end of the first menu frame, leaving out the time
// spent in the fixed waits (WaitMs) and in the title fades, which are part
// of the show rather than work. The waits and fades still run as in the
// game; the linker routes their calls through the timers below. The first
// menu frame then asks the game to close, as the window's close button does.
//
// Prints one line: total (wall clock and processor time), Initall, title and
// menu parts, in milliseconds.
#include <allegro.h>

#include <cstdio>
#include <ctime>

#include "base/seam.h"
#include "shell/gameloop.h"

int DelvornMain();

namespace {

double Clock(clockid_t id)
{
    timespec ts;
    clock_gettime(id, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

double Now()
{
    return Clock(CLOCK_MONOTONIC);
}

// Processor time of every thread of the game (timer, sound, window threads
// too): unlike the wall clock it barely moves with the machine's load.
double Cpu()
{
    return Clock(CLOCK_PROCESS_CPUTIME_ID);
}

double started = 0, waited = 0, faded = 0;
double cpuWaitedFaded = 0, cpuAtFrame = -1;  // processor time spent in waits and fades; at the frame
double cpuExcludedAtFrame = 0;
double initallSeconds = 0, menuEntered = -1, firstMenuFrame = -1;
double waitedBeforeMenu = 0, fadedBeforeMenu = 0, waitedAtFrame = 0, fadedAtFrame = 0;

void OnPass()
{
    if (firstMenuFrame < 0 && menuEntered >= 0) {
        firstMenuFrame = Now();
        waitedAtFrame = waited;
        fadedAtFrame = faded;
        cpuAtFrame = Cpu();
        cpuExcludedAtFrame = cpuWaitedFaded;
        closeRequested = true;
    }
}

}  // namespace

extern "C" {
void __real__Z6WaitMsi(int ms);
void __real__Z4FadeP6BITMAPS0_iiiiiPFviE(BITMAP *, BITMAP *, int, int, int, int, int, void (*)(int));
int __real__Z7Initallv();
int __real__Z11ProcessMenuv();

void __wrap__Z6WaitMsi(int ms)
{
    double t = Now(), c = Cpu();
    __real__Z6WaitMsi(ms);
    waited += Now() - t;
    cpuWaitedFaded += Cpu() - c;
}

void __wrap__Z4FadeP6BITMAPS0_iiiiiPFviE(BITMAP *s, BITMAP *d, int x, int y, int mode, int colour, int delay,
                                         void (*wait)(int))
{
    double t = Now(), c = Cpu();
    __real__Z4FadeP6BITMAPS0_iiiiiPFviE(s, d, x, y, mode, colour, delay, wait);
    faded += Now() - t;
    cpuWaitedFaded += Cpu() - c;
}

int __wrap__Z7Initallv()
{
    double t = Now();
    int ok = __real__Z7Initallv();
    initallSeconds = Now() - t;
    return ok;
}

int __wrap__Z11ProcessMenuv()
{
    if (menuEntered < 0) {
        menuEntered = Now();
        waitedBeforeMenu = waited;
        fadedBeforeMenu = faded;
    }
    return __real__Z11ProcessMenuv();
}
}

int main()
{
    started = Now();
    passHook = OnPass;
    int code = DelvornMain();
    if (firstMenuFrame < 0) {
        std::printf("startup: no menu frame was drawn (exit code %d)\n", code);
        return 1;
    }
    // The shutdown after the first frame may wait too: only what came before counts.
    double total = firstMenuFrame - started - waitedAtFrame - fadedAtFrame;
    double title = menuEntered - started - initallSeconds - waitedBeforeMenu - fadedBeforeMenu;
    double menu =
        firstMenuFrame - menuEntered - (waitedAtFrame - waitedBeforeMenu) - (fadedAtFrame - fadedBeforeMenu);
    // Processor time from the start of the process, so the loading of the program counts too.
    double cpu = cpuAtFrame - cpuExcludedAtFrame;
    std::printf(
        "startup_ms %.1f cpu_ms %.1f initall_ms %.1f title_ms %.1f menu_ms %.1f waits_ms %.0f "
        "fades_ms %.0f\n",
        total * 1e3, cpu * 1e3, initallSeconds * 1e3, title * 1e3, menu * 1e3, waitedAtFrame * 1e3,
        fadedAtFrame * 1e3);
    return 0;
}
