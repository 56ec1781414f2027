// debug.cpp: the debug aids: the state and frame-rate lines on every frame,
// the debug switch of play (spare lives, enemies dig, map to the log) and
// the screenshot file.
#include "shell/debug.h"

#include "base/config.h"
#include "base/log.h"
#include "base/resources.h"
#include "gameplay/figures.h"
#include "map/levelmap.h"
#include "platform/paths/paths.h"
#include "shell/gameloop.h"

void DrawDebugOverlay(BITMAP *target)
{
    if (!target)
        return;
    // Raw 16-bit pixel values: 31 is pure blue, 63 blue with a touch of
    // green. Drawn in the library's default text mode.
    textprintf_ex(target, font, 0, 0, 31, _textmode, "%s", StateName(gameState));
    textprintf_ex(target, font, 0, 12, 63, _textmode, "FPS %d, Invinc %d, Level %d, Mouse X %d, Mouse Y %d",
                  shownFps.load(), keepLives ? 1 : 0, currentLevel, mouse_x >> 5, mouse_y >> 5);
}

void DebugSwitch()
{
    try {
        keepLives = !keepLives;
        // Digging whatever their state, so each digs its own way at its
        // next decision.
        for (GameObject *enemy : enemies)
            if (enemy)
                enemy->work[ENEMY_DIGGING] = 1;
        DumpMap();
    } catch (...) {
        LogExceptReport("DebugSwitch");
    }
}

int SaveScreenshot()
{
    if (!screen)
        return 0;
    BITMAP *shot = create_sub_bitmap(screen, 0, 0, SCREEN_W, SCREEN_H);
    if (!shot)
        return 0;
    const int failed = save_bitmap(WritablePath("Delvorn.pcx").c_str(), shot, nullptr);
    destroy_bitmap(shot);
    return failed == 0 ? 1 : 0;
}

// PresentFrame draws the lines on every frame while the overlay is on.
static void DebugFrameOverlay()
{
    if (debugOverlay)
        DrawDebugOverlay(backBuffer);
}
[[maybe_unused]] static const bool debugOverlaySet = SetFrameOverlay(FRAME_OVERLAY_DEBUG, DebugFrameOverlay);
