// solver.cpp: delvorn-solve, the search bot's command. For one level it
// writes the demo of a run that reaches the exit with lives left; with
// --table it measures how hard each level is and prints the levels
// README's difficulty table.
//
//   delvorn-solve [--data DIR] [--out DEMO] [--seconds N] [--draws N] LEVEL [MAPFILE]
//   delvorn-solve --table [--data DIR] [--solutions DIR] [--seconds N] [FIRST [LAST]]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/frame.h"
#include "gameplay/figures.h"
#include "level/demofile.h"
#include "level/demoplay.h"
#include "level/headless.h"
#include "tools/mapc/levelcheck.h"
#include "tools/solver/search.h"

namespace {

// The soonest a new game can play a level's first tick: level 1 at the
// draws a new game really reaches, each later level after every level start
// before it. A level's solution starts there.
long SoonestDraws(int level)
{
    return NEW_GAME_FIRST_LEVEL_DRAWS + (level - 1) * LEVEL_START_DRAWS;
}

// The other starts every level must also be finished from, above its
// soonest: later levels are reached after play of any length, so no one
// count stands for them.
const long OTHER_DRAWS[] = {50, 100, 150, 200, 250, 300, 350, 400, 450, 500};
const int OTHER_DRAW_COUNT = (int)(sizeof OTHER_DRAWS / sizeof OTHER_DRAWS[0]);

// How long a hero who never moves is watched: a minute. Past it the
// enemies are taken to have no quick way to him.
const int STANDING_LIMIT = 1200;

// An enemy this close (pixels between corners, two cells) is at the hero's
// heels: one wrong step and it touches him.
const double NEAR_PIXELS = 64;

int Usage()
{
    std::fprintf(stderr,
                 "usage: delvorn-solve [--data DIR] [--out DEMO] [--seconds N] [--draws N] LEVEL "
                 "[MAPFILE]\n"
                 "       delvorn-solve --table [--data DIR] [--solutions DIR] [--seconds N] [FIRST "
                 "[LAST]]\n");
    return 1;
}

// Ticks until a hero who stands still from the level start is caught
// (STANDING_LIMIT when he never is).
int StandingSurvival(const Demo &start, const std::string &mapPath)
{
    std::string error;
    if (!StartDemo(start, mapPath, &error))
        return 0;
    for (int t = 0; t < STANDING_LIMIT; t++) {
        PlayDemoTick(0);
        if (hero->state != 1)
            return t + 1;
    }
    return STANDING_LIMIT;
}

// How close the chasing enemies come on a run: the closest, in pixels
// between their corners and the hero's (contact is under 24 on both axes),
// and the share of ticks with one nearer than NEAR_PIXELS. Fleeing enemies
// (a potion) do not count.
void EnemyApproach(const Demo &run, const std::string &mapPath, int *closestPixels, double *nearShare)
{
    *closestPixels = 0;
    *nearShare = 0;
    std::string error;
    if (!StartDemo(run, mapPath, &error) || run.ticks.empty())
        return;
    double closest = 1e9;
    long near = 0;
    for (uint8_t tick : run.ticks) {
        PlayDemoTick(tick);
        if (hero->state != 1 || potionActive == 1)
            continue;
        double nearest = 1e9;
        for (auto *e : enemies)
            if (e->state == 1 && e->work[ENEMY_START_DELAY] <= 0)
                nearest = std::min(nearest, std::hypot((double)e->x - hero->x, (double)e->y - hero->y));
        closest = std::min(closest, nearest);
        near += nearest < NEAR_PIXELS;
    }
    *closestPixels = (int)std::lround(std::min(closest, 9999.0));
    *nearShare = (double)near / run.ticks.size();
}

// Whether a run still reaches the exit with lives left when every key is
// let go a tick early: the last tick of each stretch of one held direction
// holds none, and the next stretch is a tick longer, since its first tick
// finishes the step the early release left short (a turn waits for the grid).
// The way is the same and every turn comes a tick later than found: a route
// that needs each release on its tick is brittle, and no player is that exact.
bool FinishesWithEarlyReleases(const Demo &run, const std::string &mapPath)
{
    const uint8_t DIRECTIONS = DEMO_LEFT | DEMO_RIGHT | DEMO_UP | DEMO_DOWN;
    auto opposite = [](uint8_t a, uint8_t b) {
        return (a == DEMO_LEFT && b == DEMO_RIGHT) || (a == DEMO_RIGHT && b == DEMO_LEFT) ||
               (a == DEMO_UP && b == DEMO_DOWN) || (a == DEMO_DOWN && b == DEMO_UP);
    };
    std::vector<uint8_t> ticks;
    uint8_t short_ = 0;  // the direction let go a tick early, whose step is due
    for (size_t i = 0; i < run.ticks.size(); i++) {
        uint8_t t = run.ticks[i], held = t & DIRECTIONS;
        bool starts = held && (i == 0 || (run.ticks[i - 1] & DIRECTIONS) != held);
        if (starts && short_) {
            // A turn first finishes the short step; going back has 4 pixels less to go.
            bool back = opposite(short_, held);
            short_ = 0;
            if (back)
                continue;
            ticks.push_back(t);
        }
        bool ends = held && (i + 1 == run.ticks.size() || (run.ticks[i + 1] & DIRECTIONS) != held);
        bool later = false;  // another stretch of some direction follows
        for (size_t j = i + 1; ends && j < run.ticks.size() && !later; j++)
            later = (run.ticks[j] & DIRECTIONS) != 0;
        if (ends && later) {
            ticks.push_back(t & ~DIRECTIONS);
            short_ = held;
        } else {
            ticks.push_back(t);
        }
    }
    std::string error;
    if (!StartDemo(run, mapPath, &error))
        return false;
    for (uint8_t t : ticks) {
        PlayDemoTick(t);
        if (gameState != GameState::RUN)
            break;
    }
    return gameState == GameState::MAP && lives > 0;
}

bool ReadLevelCodes(const std::string &mapPath, LevelCodes *codes)
{
    std::ifstream in(mapPath, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return ReadMapFileBytes(bytes, *codes);
}

// One level's figures for the table.
struct Difficulty {
    int level = 0;
    bool solved = false;
    int standing = 0;  // ticks a standing hero survives
    double fatal = 0;  // share of the plans tried that killed the hero
    int closest = 0;   // pixels, on the runs found
    double near = 0;   // share of a run's ticks with an enemy near
    int items = 0, bags = 0, door = 0;
    int ticks = 0;          // median over the starts
    int solutionTicks = 0;  // the shipped solution's
    int passes = 0;         // of the other draw counts
    int earlyReleases = 0;  // runs found that also finish with keys let go a tick early
    double figure = 0;      // the combined figure
};

// The combined figure, 0 to 100; the levels README gives the reasons.
double CombinedFigure(const Difficulty &d)
{
    auto clamp01 = [](double v) { return std::max(0.0, std::min(1.0, v)); };
    double pressure = clamp01(d.fatal);
    double haste = 1.0 - clamp01(d.standing / (double)STANDING_LIMIT);
    double closeness = clamp01(d.near / 0.25);
    double work = clamp01((d.items + 2 * d.bags + d.door) / 120.0);
    double length = clamp01(d.ticks / 3600.0);
    return 100.0 * (0.25 * pressure + 0.20 * haste + 0.15 * closeness + 0.20 * work + 0.20 * length);
}

template <typename T>
T Median(std::vector<T> v)
{
    if (v.empty())
        return T();
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Searches the level from its soonest start (the run kept as its solution)
// and from the other starts; the figures that depend on the start are the
// medians over every start, so that one lucky or unlucky start does not set
// them.
Difficulty MeasureDifficulty(int level, const std::string &mapPath, double seconds,
                             const std::string &solutionsDir)
{
    Difficulty d;
    d.level = level;
    LevelCodes codes;
    if (ReadLevelCodes(mapPath, &codes)) {
        LevelStats stats = MeasureLevel(codes);
        d.items = stats.items;
        d.bags = stats.bags;
        d.door = stats.startToDoor;
    }
    long plans = 0, fatal = 0;
    std::vector<int> standing, ticks, closest;
    std::vector<double> near;
    std::vector<long> starts = {SoonestDraws(level)};
    for (long above : OTHER_DRAWS)
        starts.push_back(SoonestDraws(level) + above);
    for (size_t i = 0; i < starts.size(); i++) {
        std::string error;
        SearchRun run;
        if (!SolveLevel(level, mapPath, starts[i], seconds, &run, &error))
            std::fprintf(stderr, "delvorn-solve: %s\n", error.c_str());
        plans += run.plans;
        fatal += run.fatalPlans;
        standing.push_back(StandingSurvival(run.demo, mapPath));
        if (!run.solved) {
            std::fprintf(stderr, "delvorn-solve: level %d: not finished from draw %ld\n", level, starts[i]);
            continue;
        }
        int pixels = 0;
        double share = 0;
        EnemyApproach(run.demo, mapPath, &pixels, &share);
        ticks.push_back((int)run.demo.ticks.size());
        d.earlyReleases += FinishesWithEarlyReleases(run.demo, mapPath);
        closest.push_back(pixels);
        near.push_back(share);
        if (i > 0) {
            d.passes++;
            continue;
        }
        d.solved = true;
        d.solutionTicks = (int)run.demo.ticks.size();
        for (const std::string &p : NewGameHeaderProblems(run.demo, level))
            std::fprintf(stderr, "delvorn-solve: level %d: %s\n", level, p.c_str());
        if (!solutionsDir.empty()) {
            std::string path = solutionsDir + "/Zub" + std::to_string(level) + ".dem";
            if (!WriteDemo(path, run.demo, &error))
                std::fprintf(stderr, "delvorn-solve: %s\n", error.c_str());
        }
    }
    d.standing = Median(standing);
    d.fatal = plans ? (double)fatal / plans : 0;
    d.ticks = Median(ticks);
    d.closest = Median(closest);
    d.near = Median(near);
    d.figure = CombinedFigure(d);
    return d;
}

void PrintTableHead()
{
    std::printf(
        "| Level | Standing hero (s) | Fatal plans | Closest enemy (px) | Enemy near | Items | Bags | "
        "Door | Run ticks (s) | Solution ticks | Figure | Other starts passed | Early releases |\n"
        "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
}

void PrintTableRow(const Difficulty &d)
{
    char standing[32];
    if (d.standing >= STANDING_LIMIT)
        std::snprintf(standing, sizeof standing, "%d+", STANDING_LIMIT / 20);
    else
        std::snprintf(standing, sizeof standing, "%.1f", d.standing / 20.0);
    std::printf("| %d | %s | %.1f%% | %d | %.1f%% | %d | %d | %d | %d (%.0f) | %d | %.1f | %d/%d | %d/%d |\n",
                d.level, standing, 100.0 * d.fatal, d.closest, 100.0 * d.near, d.items, d.bags, d.door,
                d.ticks, d.ticks / 20.0, d.solutionTicks, d.figure, d.passes, OTHER_DRAW_COUNT,
                d.earlyReleases, d.passes + (d.solved ? 1 : 0));
    std::fflush(stdout);
}

int RunTable(const std::string &dataDir, const std::string &solutionsDir, double seconds, int first, int last)
{
    searchVerbose = false;
    std::vector<Difficulty> rows;
    PrintTableHead();
    for (int level = first; level <= last; level++) {
        rows.push_back(MeasureDifficulty(level, GameMapPath(dataDir, level), seconds, solutionsDir));
        PrintTableRow(rows.back());
    }
    // What the levels must keep: every one finished from the new game's
    // start and from most others, none clearly easier than two before it.
    int faults = 0;
    for (size_t i = 0; i < rows.size(); i++) {
        const Difficulty &d = rows[i];
        if (!d.solved || d.passes < 8) {
            std::fprintf(stderr, "delvorn-solve: level %d: %s, %d of %d other starts\n", d.level,
                         d.solved ? "solved" : "not solved", d.passes, OTHER_DRAW_COUNT);
            faults++;
        }
        if (i >= 2 && d.figure < rows[i - 2].figure - 2.0) {
            std::fprintf(stderr, "delvorn-solve: level %d (%.1f) is easier than level %d (%.1f)\n", d.level,
                         d.figure, rows[i - 2].level, rows[i - 2].figure);
            faults++;
        }
    }
    return faults ? 4 : 0;
}

}  // namespace

int main(int argc, char **argv)
{
    std::string dataDir = ".", outPath, mapPath, solutionsDir;
    double seconds = 120;
    long draws = -1;  // the level's soonest
    bool table = false;
    std::vector<int> levels;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        if ((a == "--data" || a == "--out" || a == "--seconds" || a == "--draws" || a == "--solutions") &&
            i + 1 < argc) {
            std::string v = argv[++i];
            if (a == "--data")
                dataDir = v;
            else if (a == "--out")
                outPath = v;
            else if (a == "--solutions")
                solutionsDir = v;
            else if (a == "--draws")
                draws = std::atol(v.c_str());
            else
                seconds = std::atof(v.c_str());
        } else if (a == "--table") {
            table = true;
        } else if (std::atoi(a.c_str()) > 0 && levels.size() < (table ? 2u : 1u)) {
            levels.push_back(std::atoi(a.c_str()));
        } else if (!table && !levels.empty() && mapPath.empty() && a[0] != '-') {
            mapPath = a;
        } else {
            return Usage();
        }
    }
    if (table) {
        int first = levels.empty() ? 1 : levels[0];
        int last = levels.size() > 1 ? levels[1] : levels.empty() ? 20 : first;
        if (first < 1 || last > 20 || first > last)
            return Usage();
        if (!StartToolPlay(dataDir, "delvorn-solve"))
            return 3;
        return RunTable(dataDir, solutionsDir, seconds, first, last);
    }
    if (levels.empty() || levels[0] < 1 || levels[0] > 20) {
        std::fprintf(stderr, "delvorn-solve: give a level from 1 to 20\n");
        return 1;
    }
    int level = levels[0];
    if (draws < 0)
        draws = SoonestDraws(level);
    if (mapPath.empty())
        mapPath = GameMapPath(dataDir, level);
    if (!StartToolPlay(dataDir, "delvorn-solve"))
        return 3;

    SearchRun run;
    std::string error;
    if (!SolveLevel(level, mapPath, draws, seconds, &run, &error)) {
        std::fprintf(stderr, "delvorn-solve: %s\n", error.c_str());
        return 5;
    }
    if (!run.solved) {
        std::fprintf(stderr, "delvorn-solve: level %d: no way to the exit found (%ld points)\n", level,
                     run.points);
        return 4;
    }
    std::printf(
        "level=%d draws=%ld items=%d bags=%d ticks=%zu lives_lost=%d score=%d bags_dropped=%d "
        "killed_by_bag=%d killed_by_bomb=%d eaten=%d points=%ld fatal_plans=%.1f%%\n",
        level, draws, run.items, run.bags, run.demo.ticks.size(), run.livesLost, run.score, run.bagsDropped,
        run.bagKills, run.bombKills, run.eaten, run.points,
        run.plans ? 100.0 * run.fatalPlans / run.plans : 0.0);
    if (!outPath.empty() && !WriteDemo(outPath, run.demo, &error)) {
        std::fprintf(stderr, "delvorn-solve: %s\n", error.c_str());
        return 2;
    }
    return 0;
}
