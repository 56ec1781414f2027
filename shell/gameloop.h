// gameloop.h: the main loop: the state machine, the timer-paced play pass
// and the pages play asks for. The game state, the pacing counters and the
// present step every screen ends its passes with are in base/frame.h; the
// logic step of play is in level/play.h.
#ifndef DELVORN_GAMELOOP_H
#define DELVORN_GAMELOOP_H

#include "base/frame.h"

// The main loop; returns when gameState is END or the window was closed.
void RunMainLoop();

#endif
