// gameloop.h: the main loop with its play pass and the logic step of play.
// The game state, the pacing counters and the present step every screen
// ends its passes with are in base/frame.h.
#ifndef DELVORN_GAMELOOP_H
#define DELVORN_GAMELOOP_H

#include "base/frame.h"

struct PlayInput;

// One logic step of play on the input held during it (hero move,
// ProcessZub, particles, enemies, bags, bombs, play keys, logicTicks - 1).
// Reads no keys itself and runs without a window.
void PlayLogicStep(const PlayInput &input);

// The play keys' latch: set when a play key acts, clear once every play key
// is let go. A demo's replay starts with the latch its recording began with.
bool PlayKeysLatched();
void SetPlayKeysLatched(bool latched);

// The main loop; returns when gameState is END or the window was closed.
void RunMainLoop();

#endif
