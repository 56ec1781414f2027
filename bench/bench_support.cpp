// bench_support.cpp: clocks, the blit yardstick and start-up of the benchmarks.
#include "bench/bench_support.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <random>
#include <unistd.h>

double CpuSeconds()
{
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

double WallSeconds()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

double BlitSeconds(int depth)
{
    BITMAP *src = create_bitmap_ex(depth, 800, 600);
    BITMAP *dst = create_bitmap_ex(depth, 800, 600);
    // Random pixels, so nothing about the picture makes the copy cheaper.
    std::mt19937 rng(5);
    for (int y = 0; y < 600; y++)
        for (int x = 0; x < 800; x++)
            putpixel(src, x, y, (int)(rng() & (depth == 32 ? 0xFFFFFF : 0xFFFF)));
    double seconds = SecondsPerCall([&] { blit(src, dst, 0, 0, 0, 0, 800, 600); }, 200);
    destroy_bitmap(src);
    destroy_bitmap(dst);
    return seconds;
}

void ReportBlits(benchmark::State &state, double secondsEach, int depth)
{
    state.counters["blits"] = secondsEach / BlitSeconds(depth);
}

bool EnterGameFolder()
{
    return chdir(DELVORN_GAME_DIR) == 0 && access("Data.dat", R_OK) == 0;
}

int BenchMain(int argc, char **argv)
{
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        return 1;
    set_color_depth(16);
    set_color_conversion(COLORCONV_TOTAL | COLORCONV_KEEP_TRANS);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
