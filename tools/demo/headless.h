// headless.h: play without a window for the tools: the one-time set-up of
// the figures, the level start exactly as the game makes it after the
// progress map, and the start of a demo's replay from its header.
#ifndef DELVORN_TOOLS_HEADLESS_H
#define DELVORN_TOOLS_HEADLESS_H

#include <cstdint>
#include <string>

#include "level/demofile.h"

// Allegro without a window, the data file (pictures only; play runs without
// it), the input object, the figure pool and the particle set. False with a
// message on stderr when the figures cannot be made.
bool InitHeadlessPlay(const std::string &dataDir, const char *tool);

// The game's level start: every figure reset, the level-start burst, the
// map from mapPath, its checksum (taken before the bag starts are cleared),
// and play running. False when the map cannot be read.
bool SetUpLevel(int level, const std::string &mapPath, uint32_t *checksum);

// The map a demo plays on when none is given: the game's own file for the
// demo's level under dataDir.
std::string GameMapPath(const std::string &dataDir, int level);

// Sets up the demo's level with the generator at the demo's position and
// the game values of its header. Refuses, with a message, a demo of another
// generator, a map whose checksum differs, or a draw count the level start
// cannot have left.
bool StartDemo(const Demo &demo, const std::string &mapPath, std::string *error);

// Holds the keys of one demo tick for the next logic step.
void HoldDemoTick(uint8_t tick);

#endif
