// headless.h: what the demo tools share on top of the headless play: the
// start with its messages, the level start exactly as the game makes it
// after the progress map, and the start of a demo's replay from its header.
#ifndef DELVORN_TOOLS_HEADLESS_H
#define DELVORN_TOOLS_HEADLESS_H

#include <cstdint>
#include <string>

#include "level/demofile.h"

// StartHeadless with the game folder's data file; says on stderr what is
// missing. False when play cannot run.
bool StartToolPlay(const std::string &dataDir, const char *tool);

// The game's level start: a new game's values, every figure reset, the map
// from mapPath, the level-start burst, play running. False when the map
// cannot be read.
bool SetUpLevel(int level, const std::string &mapPath);

// The map a demo plays on when none is given: the game's own file for the
// demo's level under dataDir.
std::string GameMapPath(const std::string &dataDir, int level);

// Sets up the demo's level (mapPath a game path, "Maps\Zub3.map", or a
// plain file name) with the generator at the demo's position and
// the game values of its header. Refuses, with a message, a demo of another
// generator, a map whose checksum differs, or a draw count the level start
// cannot have left.
bool StartDemo(const Demo &demo, const std::string &mapPath, std::string *error);

// One logic step on a demo's tick.
void PlayDemoTick(uint8_t tick);

#endif
