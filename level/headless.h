// headless.h: play without a window or sound, for the tools, the tests,
// the benchmarks and the fuzzers.
#ifndef DELVORN_HEADLESS_H
#define DELVORN_HEADLESS_H

#include <string>

#include "base/input.h"

// Once per process (later calls only report the first one's result):
// Allegro without a window at 16 bits unless it is already up, no waits,
// the particle set and the figure pool, with its pictures from the data
// file at dataPath when one is given and loads (dataFile stays null
// otherwise). False when Allegro or the figures cannot be made.
bool StartHeadless(const char *dataPath);

// StartHeadless with the game folder's data file; says on stderr what is
// missing. False when play cannot run.
bool StartToolPlay(const std::string &dataDir, const char *tool);

// The map a level plays on when none is given: the game's own file for the
// level under dataDir.
std::string GameMapPath(const std::string &dataDir, int level);

// A level as a new game starts it: the new-game values with one bomb and
// the play sounds' latches let go, then StartPlayLevel. False when the map
// cannot be read.
bool StartHeadlessLevel(int level, const std::string &mapPath, bool openingBurst);

// One logic step as the tools and the tests play it: reaching the exit
// ends play (state MAP), as in the game; the pages the other requests lead
// to are the game's alone.
unsigned HeadlessStep(const PlayInput &input);

#endif
