// frame.cpp: see frame.h.
#include "base/frame.h"

#include <allegro.h>

#include "base/resources.h"
#include "base/seam.h"
#include "platform/paths/paths.h"

static void (*frameOverlays[FRAME_OVERLAYS])() = {nullptr, nullptr};

bool SetFrameOverlay(int slot, void (*draw)())
{
    if (slot < 0 || slot >= FRAME_OVERLAYS)
        return false;
    frameOverlays[slot] = draw;
    return true;
}

int gameState = GameState::INIT;
int returnState = GameState::RUN;

std::atomic<int> logicTicks{0};
std::atomic<int> framesDrawn{0};
std::atomic<int> shownFps{0};
std::atomic<bool> closeRequested{false};

const char *StateName(int state)
{
    switch (state) {
    case GameState::INIT: return "STATE::INIT";
    case GameState::END: return "STATE::END";
    case GameState::MENU: return "STATE::MENU";
    case GameState::RUN: return "STATE::RUN";
    case GameState::CONFIG: return "STATE::CONFIG";
    case GameState::HIGH: return "STATE::HIGH";
    case GameState::CREDITS: return "STATE::CREDITS";
    case GameState::PAUSE: return "STATE::PAUSE";
    case GameState::NEW_LEVEL: return "STATE::NEW LEVEL";
    case GameState::QUIT: return "STATE::QUIT";
    case GameState::MAP: return "STATE::MAP";
    case GameState::LEVEL_EDITOR: return "STATE::LEVEL EDITOR";
    default: return "NOSTATE";  // HELP has no name of its own
    }
}

// The timer and window callbacks run on other threads: they only touch atomics.
void CountFps()
{
    shownFps = framesDrawn.load();
    framesDrawn = 0;
}

void DropWaitedTicks()
{
    logicTicks = 0;
}

void TickLogic()
{
    logicTicks++;
}

void OnCloseButton()
{
    closeRequested = true;
}

void PresentFrame()
{
    if (screen) {
        vsync();
        acquire_screen();
    }
    for (void (*draw)() : frameOverlays)
        if (draw)
            draw();
    if (screen) {
        masked_blit(backBuffer, screen, 0, 0, 0, 0, 800, 600);
        clear_to_color(backBuffer, 0);
        release_screen();
    } else {
        clear_to_color(backBuffer, 0);
    }
    if (passHook)
        passHook();
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
