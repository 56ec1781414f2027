// gameloop.h: the game state, the pacing counters, the present step every
// screen ends its passes with, and the main loop with its play pass.
#ifndef DELVORN_GAMELOOP_H
#define DELVORN_GAMELOOP_H

#include <atomic>

struct PlayInput;

// The states are written GameState::MENU and so on: Allegro's GUI already
// owns the plain name MENU.
struct GameState {
    enum : int {
        INIT = 0,
        END = 1,
        MENU = 2,
        RUN = 3,
        CONFIG = 4,
        HIGH = 5,
        CREDITS = 6,
        PAUSE = 7,
        NEW_LEVEL = 8,
        QUIT = 9,
        MAP = 10,
        HELP = 11,
        LEVEL_EDITOR = 12,
    };
};

extern int gameState;    // a GameState value
extern int returnState;  // where HELP goes back to

extern std::atomic<int> logicTicks;
extern std::atomic<int> framesDrawn;
extern std::atomic<int> shownFps;
extern std::atomic<bool> closeRequested;

// Overlay text of a state ("STATE::RUN"; "NOSTATE" for HELP and unknowns).
const char *StateName(int state);

void CountFps();
void TickLogic();
void OnCloseButton();

// Retrace, overlays, masked copy of backBuffer to the screen, clear.
void PresentFrame();

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
