// blend_bench: the cost of blending an 800x600 picture with a colour, by
// depth and row routine, and of a whole fade, each measured against a plain
// blit of the same picture in the same run ("blits" = time / one blit).
// Ratios use the thread's processor time, so a busy machine skews them less.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <ctime>
#include <random>

#include "bench/bench_support.h"
#include "blend/blend.h"

namespace {

const int W = 800, H = 600;

struct Pictures {
    BITMAP *src, *dst;
    explicit Pictures(int depth) : src(create_bitmap_ex(depth, W, H)), dst(create_bitmap_ex(depth, W, H))
    {
        std::mt19937 rng(5);
        for (int y = 0; y < H; y++)
            for (int x = 0; x < W; x++)
                putpixel(src, x, y, (int)(rng() & (depth == 32 ? 0xFFFFFF : 0xFFFF)));
        clear_to_color(dst, 0);
    }
    ~Pictures()
    {
        destroy_bitmap(src);
        destroy_bitmap(dst);
    }
};

void Blit(benchmark::State &state)
{
    Pictures p((int)state.range(0));
    for (auto _ : state) {
        blit(p.src, p.dst, 0, 0, 0, 0, W, H);
        benchmark::ClobberMemory();
    }
}

// args: depth, path
void Blend(benchmark::State &state)
{
    Pictures p((int)state.range(0));
    BlendPath path = (BlendPath)state.range(1);
    if (SetBlendPath(path) != path) {
        state.SkipWithError("path not offered by this processor");
        return;
    }
    double blit = BlitSeconds((int)state.range(0));
    double start = CpuSeconds();
    for (auto _ : state) {
        BlendToColour(p.src, p.dst, 0, 0, 0, 128);
        benchmark::ClobberMemory();
    }
    double each = (CpuSeconds() - start) / state.iterations();
    state.counters["blits"] = each / blit;
    if (path != BLEND_SCALAR) {
        SetBlendPath(BLEND_SCALAR);
        double scalar = SecondsPerCall([&] { BlendToColour(p.src, p.dst, 0, 0, 0, 128); }, 50);
        state.counters["x_scalar"] = scalar / each;
    }
    SetBlendPath(BLEND_AUTO);
}

// A whole fade out (255 steps) in memory with the fastest path; "blits" per
// step, so it compares with the single blends.
void FadeOut(benchmark::State &state)
{
    Pictures p((int)state.range(0));
    SetBlendPath(BLEND_AUTO);
    double blit = BlitSeconds((int)state.range(0));
    double start = CpuSeconds();
    for (auto _ : state) {
        Fade(p.src, p.dst, 0, 0, 1, 0, 0);
        benchmark::ClobberMemory();
    }
    double each = (CpuSeconds() - start) / state.iterations();
    state.counters["blits_per_step"] = each / 255 / blit;
}

BENCHMARK(Blit)->ArgName("depth")->Arg(16)->Arg(32)->Unit(benchmark::kMicrosecond);
BENCHMARK(Blend)
    ->ArgNames({"depth", "path"})
    ->ArgsProduct({{15, 16, 32}, {BLEND_SCALAR, BLEND_SSE2, BLEND_AVX2}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(FadeOut)->ArgName("depth")->Arg(16)->Arg(32)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv)
{
    return BenchMain(argc, argv);
}
