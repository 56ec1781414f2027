// demorecord.h: the game records every level it plays as a demo. Each
// tick's input goes into memory; the files are written when the level ends
// or is left: "Demos\last.dem", and a dated copy "Demos\Zub<N>-<date>-
// <time>.dem" of which the ten most recent are kept.
#ifndef DELVORN_DEMORECORD_H
#define DELVORN_DEMORECORD_H

#include <cstdint>

#include "level/demofile.h"

// At a level's start, once its map is loaded: the level and the game values
// it starts with, the map's checksum and the generator's position.
void BeginLevelDemo(uint32_t mapChecksum);

// One logic step's input (DEMO_LEFT and the rest).
void RecordDemoTick(uint8_t tick);

// The level ended ("exit", "lost", "left", "closed"): writes the
// demo. Does nothing when no level is being recorded.
void EndLevelDemo(const char *ending);

#endif
