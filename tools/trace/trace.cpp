// trace.cpp: delvorn-trace, the play logic without a window. It sets up a
// level as a new game would, runs one logic step per line of an input file
// and prints one line of state after each step, so that a run can be read,
// compared and replayed.
//
//   delvorn-trace [--data DIR] [--level N] [--ticks N] [--input FILE] MAPFILE
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "gameplay/figures.h"
#include "level/levelmap.h"
#include "shell/gameloop.h"
#include "shell/headless.h"
#include "shell/input.h"
#include "shell/startup.h"

namespace {

struct Options {
    std::string dataDir = ".";
    int level = 1;
    long ticks = 100;
    std::string inputPath;
    std::string mapPath;
};

int Usage(const char *message)
{
    std::fprintf(stderr, "delvorn-trace: %s\n", message);
    std::fprintf(stderr,
                 "usage: delvorn-trace [--data DIR] [--level N] [--ticks N] [--input FILE] "
                 "MAPFILE\n");
    return 1;
}

bool ParseNumber(const char *text, long low, long high, long *out)
{
    char *end = nullptr;
    errno = 0;
    long v = std::strtol(text, &end, 10);
    if (errno || end == text || *end || v < low || v > high)
        return false;
    *out = v;
    return true;
}

// 0 on success, else the exit code.
int ParseArguments(int argc, char **argv, Options *o)
{
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        bool takesValue = a == "--data" || a == "--level" || a == "--ticks" || a == "--input";
        if (takesValue && i + 1 >= argc)
            return Usage(("missing value after " + a).c_str());
        long n = 0;
        if (a == "--data") {
            o->dataDir = argv[++i];
        } else if (a == "--level") {
            if (!ParseNumber(argv[++i], 1, 20, &n))
                return Usage("--level takes 1 to 20");
            o->level = (int)n;
        } else if (a == "--ticks") {
            if (!ParseNumber(argv[++i], 0, 100000000, &n))
                return Usage("--ticks takes a number of steps");
            o->ticks = n;
        } else if (a == "--input") {
            o->inputPath = argv[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            return Usage(("unknown option " + a).c_str());
        } else if (o->mapPath.empty()) {
            o->mapPath = a;
        } else {
            return Usage("only one map file");
        }
    }
    if (o->mapPath.empty())
        return Usage("no map file");
    return 0;
}

int CountCells(int layer, int code)
{
    int n = 0;
    for (int r = 0; r < MAP_ROWS; r++)
        for (int c = 0; c < MAP_COLUMNS; c++)
            if (CellCode(layer, c, r) == code)
                n++;
    return n;
}

void PrintState(long tick)
{
    const char *name = StateName(gameState);
    if (std::strncmp(name, "STATE::", 7) == 0)
        name += 7;
    std::printf("tick=%ld hero=%d,%d,%d score=%d lives=%d items=%d bombs=%d,%d potion=%d "
                "shields=%d dug=%d gold=%d state=%s enemies=",
                tick, (int)hero->x, (int)hero->y, hero->state, score, lives, itemsLeft,
                bombCapacity, bombsOut, potionActive, shieldsOpen ? 1 : 0,
                CountCells(0, dugBlockCode), CountCells(2, 91), name);
    for (int i = 0; i < ENEMY_COUNT; i++) {
        const GameObject *e = enemies[i];
        std::printf("%s%d,%d,%d,%d", i ? ";" : "", (int)e->x, (int)e->y, e->state,
                    e->work[ENEMY_DIRECTION]);
    }
    std::printf(" bags=");
    bool first = true;
    for (int i = 0; i < MONEYBAG_COUNT; i++) {
        const GameObject *b = moneyBags[i];
        if (b->state == 0)
            continue;
        std::printf("%s%d:%d,%d,%d", first ? "" : ";", i, (int)b->x, (int)b->y, b->state);
        first = false;
    }
    std::printf("\n");
}

}  // namespace

int main(int argc, char **argv)
{
    Options o;
    if (int code = ParseArguments(argc, argv, &o))
        return code;

    std::vector<std::string> input;
    if (!o.inputPath.empty()) {
        std::ifstream in(o.inputPath);
        if (!in) {
            std::fprintf(stderr, "delvorn-trace: cannot read input file %s\n",
                         o.inputPath.c_str());
            return 2;
        }
        for (std::string line; std::getline(in, line);)
            input.push_back(line);
    }

    std::string dataPath = o.dataDir + "/Data.dat";
    if (!StartHeadless(dataPath.c_str())) {
        std::fprintf(stderr, "delvorn-trace: Allegro or the figures did not start\n");
        return 3;
    }
    if (!dataFile)
        std::fprintf(stderr, "delvorn-trace: no data file at %s; figures have no pictures\n",
                     dataPath.c_str());
    if (!StartHeadlessLevel(o.level, o.mapPath.c_str())) {
        std::fprintf(stderr, "delvorn-trace: cannot read map file %s\n", o.mapPath.c_str());
        return 2;
    }

    for (long t = 1; t <= o.ticks; t++) {
        PlayLogicStep(PlayInputFromLetters((size_t)(t - 1) < input.size() ? input[t - 1] : ""));
        PrintState(t);
        if (gameState != GameState::RUN || lives <= 0)
            break;
    }
    std::fflush(stdout);
    return 0;
}
