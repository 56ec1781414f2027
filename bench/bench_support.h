// bench_support.h: what every benchmark shares: processor-time clocks, the
// full-screen blit every figure is compared with, the game folder, and a
// main that starts Allegro without a window.
#ifndef DELVORN_BENCH_SUPPORT_H
#define DELVORN_BENCH_SUPPORT_H

#include <allegro.h>
#include <benchmark/benchmark.h>

// The thread's processor time: a busy, shared machine skews it less than the wall clock.
double CpuSeconds();
double WallSeconds();

// Average processor seconds of one call, after one warming call.
template <typename F>
double SecondsPerCall(F call, int reps)
{
    call();
    double start = CpuSeconds();
    for (int i = 0; i < reps; i++)
        call();
    return (CpuSeconds() - start) / reps;
}

// One plain blit of an 800x600 picture at the depth, measured now.
double BlitSeconds(int depth);

// Sets the counter "blits": seconds of one operation over one blit of the depth.
void ReportBlits(benchmark::State &state, double secondsEach, int depth);

// Works in the built game folder (Data.dat, Maps, Fonts); false when it is missing.
bool EnterGameFolder();

// Allegro without a window at 16 bits, as the game converts its pictures;
// then the benchmarks named on the command line.
int BenchMain(int argc, char **argv);

#endif
