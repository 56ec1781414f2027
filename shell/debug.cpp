// debug.cpp: the state and frame-rate lines on every frame.
#include "shell/debug.h"

#include "base/config.h"
#include "base/frame.h"
#include "base/resources.h"
#include "gameplay/figures.h"

void DrawDebugOverlay(BITMAP *target)
{
    if (!target)
        return;
    // Raw 16-bit pixel values: 31 is pure blue, 63 blue with a touch of
    // green. Drawn in the library's default text mode.
    textprintf_ex(target, font, 0, 0, 31, _textmode, "%s", StateName(gameState));
    const GamePoint pointer = WindowToGame(mouse_x, mouse_y);
    textprintf_ex(target, font, 0, 12, 63, _textmode, "FPS %d, Invinc %d, Level %d, Mouse X %d, Mouse Y %d",
                  shownFps.load(), keepLives ? 1 : 0, currentLevel, pointer.x >> 5, pointer.y >> 5);
}

void DebugFrameOverlay()
{
    if (debugOverlay)
        DrawDebugOverlay(backBuffer);
}
