// frame.h: the game state, the pacing counters, the present step every
// screen ends its passes with, and the screenshot of what it presented. The
// main loop (shell/gameloop.h) drives them.
#ifndef DELVORN_FRAME_H
#define DELVORN_FRAME_H

#include <allegro.h>
#include <atomic>

#include "base/scale.h"

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

// Retrace, overlays, masked copy of backBuffer to the screen, clear. The
// 800x600 picture is shown at the placement StartPresenting was given.
void PresentFrame();
// The picture as presented, 800x600 at any scale, saved as "Delvorn.pcx";
// 1 when written.
int SaveScreenshot();

// After the graphics mode is set: the picture stands there in the screen,
// and the mouse stays on it. False (nothing changed) when the picture
// cannot be made. StopPresenting lets go of it before the mode ends.
// Without a screen only the mapping of window points changes.
bool StartPresenting(const Placement &at);
void StopPresenting();
const Placement &PresentPlacement();

// What is drawn straight onto the screen, outside PresentFrame (notices,
// fades): the game's 800x600 picture, a part of the screen at factor 1, a
// picture of its own otherwise. Null without a screen. ShowGameScreen
// shows what was drawn there (nothing to do at factor 1), and
// ShowGameScreenStep does so between the steps of a fade, then waits; a
// fade without waits shows a step a frame at most, and its caller shows the
// last with ShowGameScreen.
BITMAP *GameScreen();
void ShowGameScreen();
void ShowGameScreenStep(int waitMs);

// A point of the window (mouse_x, mouse_y) as a pixel of the game's
// picture; outside 0..799, 0..599 on the black border around it.
GamePoint WindowToGame(int windowX, int windowY);

// What PresentFrame draws over every frame, in slot order; each owner
// sets its own (the debug lines, the editor's status).
enum { FRAME_OVERLAY_DEBUG, FRAME_OVERLAY_EDITOR, FRAME_OVERLAYS };
bool SetFrameOverlay(int slot, void (*draw)());

#endif
