// trace.cpp: delvorn-trace, the play logic without a window. It sets up a
// level as a new game would, runs one logic step per line of an input file
// and prints one line of state after each step, so that a run can be read,
// compared and replayed. With --demo it replays a demo file from its level
// start, on the demo's level of the game folder unless a map file is given.
//
//   delvorn-trace [--data DIR] [--level N] [--ticks N] [--input FILE] MAPFILE
//   delvorn-trace --demo FILE [--data DIR] [MAPFILE]
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/frame.h"
#include "base/input.h"
#include "gameplay/figures.h"
#include "level/demofile.h"
#include "level/demoplay.h"
#include "level/headless.h"

namespace {

struct Options {
    std::string dataDir = ".";
    int level = 1;
    long ticks = 100;
    std::string inputPath;
    std::string demoPath;
    std::string mapPath;
};

int Usage(const char *message)
{
    std::fprintf(stderr, "delvorn-trace: %s\n", message);
    std::fprintf(stderr,
                 "usage: delvorn-trace [--data DIR] [--level N] [--ticks N] [--input FILE] "
                 "MAPFILE\n"
                 "       delvorn-trace --demo FILE [--data DIR] [MAPFILE]\n");
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
        bool takesValue =
            a == "--data" || a == "--level" || a == "--ticks" || a == "--input" || a == "--demo";
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
        } else if (a == "--demo") {
            o->demoPath = argv[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            return Usage(("unknown option " + a).c_str());
        } else if (o->mapPath.empty()) {
            o->mapPath = a;
        } else {
            return Usage("only one map file");
        }
    }
    if (o->mapPath.empty() && o->demoPath.empty())
        return Usage("no map file");
    return 0;
}

// The demo's ticks from its level start; the last line tells how it ended.
int TraceDemo(const Options &o)
{
    Demo demo;
    std::string error;
    if (!ReadDemo(o.demoPath, &demo, &error)) {
        std::fprintf(stderr, "delvorn-trace: %s\n", error.c_str());
        return 2;
    }
    std::string mapPath = o.mapPath.empty() ? GameMapPath(o.dataDir, demo.level) : o.mapPath;
    if (!StartToolPlay(o.dataDir, "delvorn-trace"))
        return 3;
    if (!StartDemo(demo, mapPath, &error)) {
        std::fprintf(stderr, "delvorn-trace: %s\n", error.c_str());
        return 2;
    }
    std::string last = PlayStateLine(0);  // a demo of no ticks ends where it starts
    for (size_t t = 0; t < demo.ticks.size(); t++) {
        PlayDemoTick(demo.ticks[t]);
        last = PlayStateLine((long)t + 1);
        std::printf("%s\n", last.c_str());
        if (gameState != GameState::RUN || lives <= 0)
            break;
    }
    std::fflush(stdout);
    // A replay that ends elsewhere than its recording did is a fault, not a trace.
    if (!demo.final.empty() && last != demo.final) {
        std::fprintf(stderr,
                     "delvorn-trace: the replay ends on another state than the recording:\n"
                     "  recorded: %s\n  replayed: %s\n",
                     demo.final.c_str(), last.c_str());
        return 4;
    }
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    Options o;
    if (int code = ParseArguments(argc, argv, &o))
        return code;
    if (!o.demoPath.empty())
        return TraceDemo(o);

    std::vector<std::string> input;
    std::string error;
    if (!o.inputPath.empty() && !ReadDemoLines(o.inputPath, &input, &error)) {
        std::fprintf(stderr, "delvorn-trace: input file: %s\n", error.c_str());
        return 2;
    }

    if (!StartToolPlay(o.dataDir, "delvorn-trace"))
        return 3;
    // The recorded traces start without the level's opening burst.
    if (!StartHeadlessLevel(o.level, o.mapPath, false)) {
        std::fprintf(stderr, "delvorn-trace: cannot read map file %s\n", o.mapPath.c_str());
        return 2;
    }

    for (long t = 1; t <= o.ticks; t++) {
        HeadlessStep(PlayInputFromLetters((size_t)(t - 1) < input.size() ? input[t - 1] : ""));
        std::printf("%s\n", PlayStateLine(t).c_str());
        if (gameState != GameState::RUN || lives <= 0)
            break;
    }
    std::fflush(stdout);
    return 0;
}
