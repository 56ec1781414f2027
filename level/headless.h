// headless.h: play without a window or sound, for the trace tool, the
// tests, the benchmarks and the fuzzers.
#ifndef DELVORN_HEADLESS_H
#define DELVORN_HEADLESS_H

// Once per process (later calls only report the first one's result):
// Allegro without a window at 16 bits, no waits, the particle set and the
// figure pool, with its pictures from the data file at dataPath when one is
// given and loads (dataFile stays null otherwise). False when Allegro or the
// figures cannot be made.
bool StartHeadless(const char *dataPath);

// A level as a new game starts it: the new-game values with one bomb, every
// figure reset, the map read from mapPath, the bag starts taken up, state
// RUN. False when the map cannot be read.
bool StartHeadlessLevel(int level, const char *mapPath);

#endif
