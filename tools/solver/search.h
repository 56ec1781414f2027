// search.h: the search bot of delvorn-solve. It plays one level through the
// logic step, enemies included, from a new game's values with the random
// generator at a given draw count, and finds a run that reaches the exit
// with lives left.
#ifndef DELVORN_SOLVER_SEARCH_H
#define DELVORN_SOLVER_SEARCH_H

#include <string>

#include "level/demofile.h"

// What one search found and what it met on the way.
struct SearchRun {
    bool solved = false;
    Demo demo;  // the start it searched from; when solved, the run as a demo
    int items = 0, bags = 0;
    long points = 0;      // places the search stood at
    long plans = 0;       // plans played out
    long fatalPlans = 0;  // of them, the ones in which the hero died
    int livesLost = 0, score = 0, bagsDropped = 0;
    int bagKills = 0, bombKills = 0, eaten = 0;
};

// Progress lines on stderr while a search runs; on by default.
extern bool searchVerbose;

// Searches the level on mapPath for up to `seconds` (first for a run
// without a death, then for one that costs lives) from the level start a
// new game gives, with the generator at `draws` when the first tick runs.
// A run it finds is checked by replaying it from a fresh start. False with
// a message when the level cannot be started there or the run does not
// replay; true otherwise, with run->solved saying whether it found one.
bool SolveLevel(int level, const std::string &mapPath, long draws, double seconds, SearchRun *run,
                std::string *error);

#endif
