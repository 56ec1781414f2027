// demoplay.h: a demo's level start and its ticks, for the replay tools and
// the tests, and the start of a demo of the level in play.
#ifndef DELVORN_DEMOPLAY_H
#define DELVORN_DEMOPLAY_H

#include <cstdint>
#include <string>

#include "level/demofile.h"

// A demo without ticks that starts from the level as it stands: its number,
// the map's checksum, the generator's position and the play values.
Demo DemoOfLevelStart(uint32_t mapChecksum);

// Sets up the demo's level (mapPath a game path, "Maps\Zub3.map", or a
// plain file name) with the generator at the demo's position and
// the game values of its header. Refuses, with a message, a demo of another
// generator, a map whose checksum differs, or a draw count the level start
// cannot have left.
bool StartDemo(const Demo &demo, const std::string &mapPath, std::string *error);

// One logic step on a demo's tick.
void PlayDemoTick(uint8_t tick);

#endif
