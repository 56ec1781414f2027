// frame.h: the game state, the pacing counters, the present step every
// screen ends its passes with, and the screenshot of what it presented. The
// main loop (shell/gameloop.h) drives them.
#ifndef DELVORN_FRAME_H
#define DELVORN_FRAME_H

#include <atomic>

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

// Drops the ticks the timer counted while a page waited (a message, the
// progress map, pause, help, a question), so that play goes on from the
// next tick instead of catching up on the wait in one burst. Every page
// that waits calls it on each of its passes and as its wait ends; play
// calls it when it resumes after anything else.
void DropWaitedTicks();

void CountFps();
void TickLogic();
void OnCloseButton();

// Retrace, overlays, masked copy of backBuffer to the screen, clear.
void PresentFrame();
// The visible screen, as presented, saved as "Delvorn.pcx"; 1 when written.
int SaveScreenshot();

// What PresentFrame draws over every frame, in slot order; each owner
// sets its own (the debug lines, the editor's status).
enum { FRAME_OVERLAY_DEBUG, FRAME_OVERLAY_EDITOR, FRAME_OVERLAYS };
bool SetFrameOverlay(int slot, void (*draw)());

#endif
