// frame.cpp: see frame.h.
#include "base/frame.h"

#include <allegro.h>
#include <chrono>

#include "base/enlarge.h"
#include "base/resources.h"
#include "base/seam.h"
#include "platform/display/display.h"
#include "platform/paths/paths.h"

// Where the picture stands in the screen, and the picture as shown when it
// is not a part of the screen itself (factor above 1): the masked copy
// keeps what the frame before left under the mask colour.
static Placement placement = {1, 0, 0, GAME_W, GAME_H};
static BITMAP *shownPicture = nullptr;
static BITMAP *screenPart = nullptr;
// Set when the screen may no longer hold what was shown (a new mode, the
// window system's switch back to the game): the next present writes every
// row, not only those that changed.
static bool showEveryRow = true;

static void ShowEveryRow()
{
    showEveryRow = true;
}

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

bool StartPresenting(const Placement &at)
{
    if (at.factor < 1)
        return false;
    if (!screen) {
        // No window (tools, tests): only the mapping of window points changes.
        StopPresenting();
        placement = at;
        return true;
    }
    BITMAP *picture = nullptr, *part = nullptr;
    if (at.factor > 1 && bitmap_color_depth(screen) == 16)
        picture = create_bitmap_ex(16, GAME_W, GAME_H);
    else if (at.factor == 1 && (at.x != 0 || at.y != 0))
        part = create_sub_bitmap(screen, at.x, at.y, GAME_W, GAME_H);
    if ((at.factor > 1 && !picture) || (at.factor == 1 && (at.x != 0 || at.y != 0) && !part))
        return false;
    StopPresenting();
    placement = at;
    shownPicture = picture;
    screenPart = part;
    if (shownPicture)
        clear_bitmap(shownPicture);
    clear_bitmap(screen);
    showEveryRow = true;
    set_display_switch_callback(SWITCH_IN, ShowEveryRow);
    // As the 800x600 window always had it: the pointer reaches x 798, y 598.
    set_mouse_range(at.x, at.y, at.x + (GAME_W - 1) * at.factor - 1, at.y + (GAME_H - 1) * at.factor - 1);
    return true;
}

void StopPresenting()
{
    if (shownPicture)
        destroy_bitmap(shownPicture);
    if (screenPart)
        destroy_bitmap(screenPart);
    shownPicture = screenPart = nullptr;
    placement = {1, 0, 0, GAME_W, GAME_H};
}

const Placement &PresentPlacement()
{
    return placement;
}

BITMAP *GameScreen()
{
    if (!screen)
        return nullptr;
    if (shownPicture)
        return shownPicture;
    return screenPart ? screenPart : screen;
}

// Straight into the screen, which is shown once at the end. With a back
// buffer, the rows take its masked copy on the way; at factor 1 the screen
// itself is the shown picture.
static void EnlargeOntoScreen(BITMAP *from)
{
    BeginScreenRows();
    const RowBand band =
        EnlargePicture(from, shownPicture, screen, placement.x, placement.y, placement.factor, showEveryRow);
    showEveryRow = false;
    EndScreenRows(placement.x, band.first, GAME_W * placement.factor, band.count);
}

void ShowGameScreen()
{
    if (screen && shownPicture)
        EnlargeOntoScreen(nullptr);
}

void ShowGameScreenStep(int waitMs)
{
    // An enlarged picture costs more to show than a fade's step costs to
    // mix: a fade that does not wait shows at most a step a frame, so it
    // takes as long as in the 800x600 window. Its caller shows the last.
    static std::chrono::steady_clock::time_point lastShown;
    const auto now = std::chrono::steady_clock::now();
    if (waitMs > 0 || now - lastShown >= std::chrono::milliseconds(15)) {
        ShowGameScreen();
        lastShown = now;
    }
    if (waitMs > 0)
        WaitMs(waitMs);
}

GamePoint WindowToGame(int windowX, int windowY)
{
    return WindowToGame(placement, windowX, windowY);
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
        if (shownPicture || (bitmap_color_depth(screen) == 16 && bitmap_color_depth(backBuffer) == 16 &&
                             is_linear_bitmap(screen)))
            EnlargeOntoScreen(backBuffer);
        else
            masked_blit(backBuffer, GameScreen(), 0, 0, 0, 0, GAME_W, GAME_H);
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
    BITMAP *shown = GameScreen();
    if (!shown)
        return 0;
    BITMAP *shot = create_sub_bitmap(shown, 0, 0, GAME_W, GAME_H);
    if (!shot)
        return 0;
    const int failed = save_bitmap(WritablePath("Delvorn.pcx").c_str(), shot, nullptr);
    destroy_bitmap(shot);
    return failed == 0 ? 1 : 0;
}
