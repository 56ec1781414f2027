// play_bench: one play frame of the busiest shipped level composed into the
// 16-bit back buffer with every figure on screen, the present step at each
// scale, and the loading steps of a game: the data file, a level file and
// the figure pool. Each reports its time in full-screen 16-bit blits
// measured in the same run ("blits").
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "base/enlarge.h"
#include "base/resources.h"
#include "base/scale.h"
#include "bench/bench_support.h"
#include "gameplay/bombs.h"
#include "gameplay/figures.h"
#include "gameplay/particles.h"
#include "level/headless.h"
#include "level/levelsetup.h"
#include "level/mapdraw.h"
#include "level/mapfile.h"
#include "level/statusbar.h"
#include "map/levelmap.h"
#include "platform/alfont/alfont.h"

namespace {

// Cells DrawMap paints on the level: the busiest one costs the most to draw.
int DrawnCells()
{
    int n = 0;
    for (int l = 0; l < MAP_LAYERS; l++)
        for (int r = 0; r < MAP_ROWS; r++)
            for (int c = 0; c < MAP_COLUMNS; c++)
                n += CellCode(l, c, r) != CELL_EMPTY;
    return n;
}

int BusiestLevel(int *cells)
{
    int best = 1;
    *cells = -1;
    for (int level = 1; level <= 20; level++) {
        if (!LoadMap(level))
            continue;
        int n = DrawnCells();
        if (n > *cells) {
            *cells = n;
            best = level;
        }
    }
    ReleaseMap();
    return best;
}

// The game's resources as Initall leaves them, minus the window.
bool LoadGame(benchmark::State &state)
{
    if (!EnterGameFolder() || !StartHeadless("Data.dat") || !dataFile) {
        state.SkipWithError("no Data.dat in the game folder: build the content first");
        return false;
    }
    if (!backBuffer) {
        backBuffer = create_bitmap_ex(16, 800, 600);
        CreatePlayStill();
    }
    if (!mainFont) {
        alfont_init();
        mainFont = alfont_load_font("Fonts/DigitalDream.ttf");
    }
    return true;
}

void Show(GameObject *figure, int slot, int state)
{
    if (!figure)
        return;
    figure->state = state;
    figure->flags |= GO_VISIBLE;
    // Spread over the map, so that figures overlap cells as in play, not each other.
    int column = (slot * 7) % MAP_COLUMNS, row = (slot * 5) % MAP_ROWS;
    figure->SetPosition(column * 32 + (slot % 3) * 8, row * 32);
}

// fromStill 1: the frame as the game draws it, copied from the still
// picture; 0: everything drawn afresh, as before the still picture.
void PlayFrame(benchmark::State &state)
{
    if (!LoadGame(state))
        return;
    const bool fromStill = state.range(0) != 0;
    int cells = 0;
    int level = BusiestLevel(&cells);
    if (!StartHeadlessLevel(level, MapFileName(level), false)) {
        state.SkipWithError("the level did not start");
        return;
    }
    int slot = 0;
    Show(hero, slot++, 1);
    for (GameObject *e : enemies)
        Show(e, slot++, 1);
    for (GameObject *b : moneyBags)
        Show(b, slot++, 1);
    for (GameObject *b : bombs)
        Show(b, slot++, 2);  // 1 is a bomb still in stock, never drawn
    Show(heart, slot++, 1);
    Show(potion, slot++, 1);
    potionActive = 1;
    particles->Restart();
    particles->Spawn(400, 300, 2, 0, 0, PIC_SPARK);
    for (int i = 0; i < 8; i++)
        particles->Update();  // a burst already spread out

    // Without the still picture the game draws every frame in full. With
    // it, the first frame composes it; play then repaints a few squares a
    // tick at most.
    if (!fromStill)
        DestroyPlayStill();
    DrawPlayPicture();
    double start = CpuSeconds();
    for (auto _ : state) {
        DrawPlayPicture();
        benchmark::ClobberMemory();
    }
    ReportBlits(state, (CpuSeconds() - start) / state.iterations(), 16);
    // To look at what was measured: DELVORN_BENCH_FRAME=frame.pcx
    if (const char *picture = std::getenv("DELVORN_BENCH_FRAME"))
        save_bitmap(picture, backBuffer, nullptr);
    state.counters["level"] = level;
    state.counters["cells"] = cells;
    ReleaseMap();
    CreatePlayStill();
}

// The present step's own work at a factor, into a memory picture of the
// window's size standing for the screen: at 1 the masked copy straight into
// it, above it the masked copy into the shown picture and its enlarging;
// factor 0 is Allegro's masked_blit, the present step before there were
// factors. Every row is written, as when the whole picture changes; with
// `still` 1 nothing has changed, which leaves only the comparison. The
// window system's own copy of the screen comes on top.
void Present(benchmark::State &state)
{
    const int factor = (int)state.range(0);
    const bool still = state.range(1) != 0;
    BITMAP *back = create_bitmap_ex(16, GAME_W, GAME_H);
    BITMAP *shown = create_bitmap_ex(16, GAME_W, GAME_H);
    BITMAP *window = create_bitmap_ex(16, GAME_W * std::max(factor, 1), GAME_H * std::max(factor, 1));
    if (!back || !shown || !window) {
        state.SkipWithError("no memory for the pictures");
        return;
    }
    // Random pixels, as the blit it is measured against.
    std::mt19937 rng(7);
    for (int y = 0; y < GAME_H; y++)
        for (int x = 0; x < GAME_W; x++)
            putpixel(back, x, y, (int)(rng() & 0xFFFF));
    clear_bitmap(shown);
    double start = CpuSeconds();
    for (auto _ : state) {
        if (factor == 0)
            masked_blit(back, window, 0, 0, 0, 0, GAME_W, GAME_H);
        else
            EnlargePicture(back, factor == 1 ? nullptr : shown, window, 0, 0, factor, !still);
        benchmark::ClobberMemory();
    }
    ReportBlits(state, (CpuSeconds() - start) / state.iterations(), 16);
    destroy_bitmap(window);
    destroy_bitmap(shown);
    destroy_bitmap(back);
}

// Times only the body; undo runs between iterations, outside the clocks.
template <typename Body, typename Undo>
void TimeEach(benchmark::State &state, Body body, Undo undo)
{
    double cpu = 0;
    for (auto _ : state) {
        double wall0 = WallSeconds(), cpu0 = CpuSeconds();
        bool ok = body();
        cpu += CpuSeconds() - cpu0;
        state.SetIterationTime(WallSeconds() - wall0);
        undo();
        if (!ok) {
            state.SkipWithError("the load failed");
            return;
        }
    }
    state.counters["cpu_ms"] = cpu / state.iterations() * 1e3;
    ReportBlits(state, cpu / state.iterations(), 16);
}

void LoadLevel(benchmark::State &state)
{
    if (!LoadGame(state))
        return;
    if (!moneyBags[0])
        InitCharacters();  // the bags are placed as the map is read
    int level = (int)state.range(0);
    TimeEach(
        state, [&] { return LoadMap(level) == 1; }, [] { ReleaseMap(); });
}

void LoadDataFile(benchmark::State &state)
{
    if (!EnterGameFolder()) {
        state.SkipWithError("no Data.dat in the game folder: build the content first");
        return;
    }
    DATAFILE *kept = dataFile;
    int keptEntries = dataFileEntries;
    DATAFILE *loaded = nullptr;
    TimeEach(
        state, [&] { return (loaded = LoadGameData("Data.dat")) != nullptr; },
        [&] {
            if (loaded)
                unload_datafile(loaded);
            loaded = nullptr;
        });
    dataFile = kept;
    dataFileEntries = keptEntries;
}

void CreateFigures(benchmark::State &state)
{
    if (!LoadGame(state))
        return;
    TimeEach(
        state, [] { return InitCharacters() == 1; }, [] { DeleteCharacters(); });
}

BENCHMARK(PlayFrame)->ArgName("fromStill")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(Present)
    ->ArgNames({"scale", "still"})
    ->ArgsProduct({{0, 1, 2, 3, 4}, {0}})
    ->Args({2, 1})
    ->Args({3, 1})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(LoadLevel)->ArgName("level")->Arg(1)->Arg(20)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(LoadDataFile)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(CreateFigures)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char **argv)
{
    return BenchMain(argc, argv);
}
